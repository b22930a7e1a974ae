#pragma once
// One running program per user. The first start listens on a local socket whose name is
// made of "velk" and the user's name; a later start connects, sends the wake-up key (the
// main window title) and ends. The first one then shows its window.

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace vestrel {

// "velk-" followed by the user's login name (or uid when it has none), and by
// $VESTREL_INSTANCE_SUFFIX when set.
QString SingleInstanceServerName();

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `key` is what a second start sends and what the first one accepts.
    explicit SingleInstance(QString key, QString serverName = SingleInstanceServerName(),
                            QObject* parent = nullptr);

    // True when this process is the first and now listens; false when another one runs
    // and has been woken, in which case this process should end.
    bool claim();

signals:
    void wakeRequested();

private:
    bool wakeRunningInstance();
    void onNewConnection();

    QString key_;
    QString serverName_;
    QLocalServer server_;
};

}  // namespace vestrel
