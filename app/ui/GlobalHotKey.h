#pragma once
// F11 for the whole desktop where it runs on X11: a passive grab of the key on the root
// windows, so the key wakes the program while its window is hidden in the tray. Elsewhere
// (Wayland, offscreen) nothing is grabbed and the window's own shortcut serves. While one
// of our windows has the keyboard the key reaches it as usual, so the two never both fire.

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <cstdint>
#include <vector>

struct xcb_connection_t;

namespace vestrel {

inline constexpr std::uint32_t kKeysymF11 = 0xffc8;

// The keycode that gives `keysym` on the display's keyboard; 0 when none does.
std::uint8_t X11Keycode(xcb_connection_t* connection, std::uint32_t keysym);

class GlobalHotKey final : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    // Grabs F11 without modifiers (Caps Lock and Num Lock do not count as modifiers).
    explicit GlobalHotKey(QObject* parent = nullptr);
    ~GlobalHotKey() override;

    // False where there is no X11, or when another program holds the key already.
    bool grabbed() const { return grabbed_; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    void activated();

private:
    void grab();
    void ungrab();

    xcb_connection_t* connection_ = nullptr;
    std::vector<std::uint32_t> roots_;
    std::uint8_t keycode_ = 0;
    bool grabbed_ = false;
};

}  // namespace vestrel
