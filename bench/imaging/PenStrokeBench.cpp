// A pen stroke across a camera page (2592 x 1944) shown at 100 % in a 1280 x 800 image
// pane (offscreen): the time from a mouse-move event's arrival until the pane has painted
// what it changed, per event. Strokes: small steps (a pointer sampled at 120 Hz moving
// steadily) and quick 40-pixel jumps, then quick jumps with the picture fitted to the pane.
// Goal: at most 8 ms per event.
//
//   QT_QPA_PLATFORM=offscreen bench_pen_stroke [events]     (default 600 per stroke)
#include "BrushTool.h"
#include "CQuorvanDoc.h"
#include "CQuorvanView.h"
#include "ConsolePrompter.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <time.h>
#include <vector>

namespace {

using namespace vestrel;
using Clock = std::chrono::steady_clock;

double ThreadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

void Send(QWidget* pane, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(at), pane->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(pane, &event);
}

// Counts the paints the pane receives and the area they cover, to show the strokes are
// really drawn and only in strips.
class PaintCounter : public QObject {
public:
    int paints = 0;
    long long area = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints;
            const QRect r = static_cast<QPaintEvent*>(event)->rect();
            area += (long long)r.width() * r.height();
        }
        return false;
    }
};

double Percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, std::size_t(p * double(v.size() - 1) + 0.5))];
}

// One stroke of `events` moves `step` pane pixels apart along a zigzag over the pane.
void Stroke(document::CQuorvanView& view, int events, int step, const char* name)
{
    QWidget* pane = view.viewport();
    const int width = pane->width() - 20, height = pane->height() - 20;
    auto pointAt = [&](int i) {
        const int along = 10 + (i * step) % (2 * width);
        const int x = along < width ? along : 2 * width - along;
        return QPoint(10 + x, 10 + (i * 7) % height);
    };
    Send(pane, QEvent::MouseButtonPress, pointAt(0), Qt::LeftButton, Qt::LeftButton);
    QApplication::processEvents();
    PaintCounter counter;
    pane->installEventFilter(&counter);
    std::vector<double> wall, cpu;
    for (int i = 1; i <= events; ++i) {
        const auto start = Clock::now();
        const double cpuStart = ThreadCpuMs();
        Send(pane, QEvent::MouseMove, pointAt(i), Qt::NoButton, Qt::LeftButton);
        QApplication::processEvents();  // the pane paints the strip the move changed
        cpu.push_back(ThreadCpuMs() - cpuStart);
        wall.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    pane->removeEventFilter(&counter);
    Send(pane, QEvent::MouseButtonRelease, pointAt(events), Qt::LeftButton, Qt::NoButton);
    QApplication::processEvents();
    std::printf("%-21s paints %4d, mean painted area %6lld px\n  ", name, counter.paints,
                counter.paints ? counter.area / counter.paints : 0);
    std::printf("events %4d  wall median %6.3f ms  p95 %6.3f ms  max %6.3f ms  |  cpu median %6.3f ms  p95 %6.3f ms\n",
                events, Percentile(wall, 0.5), Percentile(wall, 0.95), Percentile(wall, 1.0),
                Percentile(cpu, 0.5), Percentile(cpu, 0.95));
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int events = argc > 1 ? std::max(10, std::atoi(argv[1])) : 600;

    ConsolePrompter prompter(std::cerr);  // nothing is asked during a stroke; if it were, it shows
    document::CQuorvanDoc doc(prompter);
    auto page = std::make_unique<CxImage>(2592, 1944, 24);
    page->Clear(235);
    doc.SetImage(std::move(page));
    document::CQuorvanView view(doc);
    view.installTool(std::make_unique<tools::BrushTool>(doc, view, document::Tool::Pen));
    view.resize(1280, 800);
    view.show();
    view.imageChanged();
    QApplication::processEvents();

    doc.SelectTool(document::Tool::Pen);
    doc.SetBrush({8, MakeColorRef(200, 0, 0)});
    view.refresh();
    QApplication::processEvents();

    std::printf("pen stroke, 2592 x 1944 at 100 %% in a %d x %d pane (%s)\n", view.viewport()->width(),
                view.viewport()->height(), qPrintable(QGuiApplication::platformName()));
    Stroke(view, events, 3, "steady (3 px steps)");
    Stroke(view, events, 40, "quick (40 px jumps)");
    // The same picture fitted to the pane (scaled down): the scaled copy is mended per move.
    doc.OnWindowSize();
    doc.SelectTool(document::Tool::Pen);
    view.refresh();
    QApplication::processEvents();
    Stroke(view, events, 40, "fitted (40 px jumps)");

    // For comparison: what one move would cost if it repainted the whole pane.
    std::vector<double> full;
    for (int i = 0; i < 50; ++i) {
        const double cpuStart = ThreadCpuMs();
        view.viewport()->repaint();
        full.push_back(ThreadCpuMs() - cpuStart);
    }
    std::printf("whole-pane repaint for comparison: cpu median %.3f ms\n", Percentile(full, 0.5));
    std::printf("picture conversions during the strokes: %d (1 = only the first drawing)\n", view.pictureConversions());
    return 0;
}
