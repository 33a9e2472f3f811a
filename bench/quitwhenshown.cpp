// For timing a whole process from its start to a shown window: preloaded into an unchanged
// program (LD_PRELOAD), it hooks itself into the application as that is constructed and quits
// once the first window is exposed and has painted.

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QObject>
#include <QWindow>

#include <cstdlib>

namespace quitwhenshown {

class Watcher : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && !done_) {
            auto* window = qobject_cast<QWindow*>(watched);
            if (window && window->isExposed()) {
                done_ = true;
                // Queued: the window paints in answer to this very event first. Ended there,
                // with no tear-down, which is no part of a start.
                QMetaObject::invokeMethod(
                    QCoreApplication::instance(), [] { std::_Exit(0); }, Qt::QueuedConnection);
            }
        }
        return false;
    }

private:
    bool done_ = false;
};

} // namespace quitwhenshown

static void installWatcher()
{
    QCoreApplication::instance()->installEventFilter(new quitwhenshown::Watcher(QCoreApplication::instance()));
}

Q_COREAPP_STARTUP_FUNCTION(installWatcher)
