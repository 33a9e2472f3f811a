#include "app/longwork.h"

#include "app/tform1.h"
#include "board/texts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QKeyEvent>
#include <QMoveEvent>
#include <QPointer>
#include <QProgressDialog>
#include <QThreadPool>
#include <QTimer>
#include <QtConcurrent>

#include <algorithm>
#include <exception>

namespace {

// The progress window waits this long: shorter work would only flash it.
constexpr int progressDelayMs = 500;

// One worker that never ends: the text recogniser loads its model once per thread, and that
// costs more than reading a page.
QThreadPool& workers()
{
    static QThreadPool* pool = [] {
        auto* p = new QThreadPool;
        p->setMaxThreadCount(1);
        p->setExpiryTimeout(-1);
        return p;
    }();
    return *pool;
}

bool isInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::TabletPress:
        return true;
    default:
        return false;
    }
}

// Holds back the operator's input to the window while the work runs, so that the record the
// worker copied is still the window's when the work is taken; Esc and a close stop the work.
class InputHold : public QObject {
public:
    InputHold(TForm1& window, StopFlag& stop)
        : window_(window)
        , stop_(stop)
    {
        qApp->installEventFilter(this);
    }
    ~InputHold() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const auto* w = qobject_cast<QWidget*>(watched);
        if (!w || w->window() != &window_)
            return false;
        if (event->type() == QEvent::Close) {
            stop_ = true;
            event->ignore();
            return true;
        }
        if (!isInput(event->type()))
            return false;
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            stop_ = true;
        // An override taken here keeps the window's shortcuts (F5, Ctrl+V) from firing.
        event->accept();
        return true;
    }

private:
    TForm1& window_;
    StopFlag& stop_;
};

// The progress window keeps its place over the main window when the operator moves that: a
// window manager leaves a dialog where it was shown.
class FollowMoves : public QObject {
public:
    FollowMoves(QWidget& main, QPointer<QProgressDialog>& follower)
        : main_(main)
        , follower_(follower)
    {
        main_.installEventFilter(this);
    }
    ~FollowMoves() override { main_.removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &main_ && event->type() == QEvent::Move && follower_) {
            const auto* moved = static_cast<QMoveEvent*>(event);
            follower_->move(follower_->pos() + moved->pos() - moved->oldPos());
        }
        return false;
    }

private:
    QWidget& main_;
    QPointer<QProgressDialog>& follower_;
};

} // namespace

void DeferredNotices::tell(const QString& title, BoxKind kind, const QString& text)
{
    requests_.append({Request::Box, title, kind, text});
}

void DeferredNotices::setFocus(const QString& controlName)
{
    requests_.append({Request::Focus, QString(), BoxKind::Information, controlName});
}

void DeferredNotices::focusNext()
{
    requests_.append({Request::FocusNext, QString(), BoxKind::Information, QString()});
}

bool DeferredNotices::movesFocus() const
{
    return std::any_of(requests_.begin(), requests_.end(),
                       [](const Request& r) { return r.kind == Request::Focus || r.kind == Request::FocusNext; });
}

void DeferredNotices::replay(Notices& notices) const
{
    for (const Request& r : requests_) {
        switch (r.kind) {
        case Request::Box:
            notices.tell(r.title, r.boxKind, r.text);
            break;
        case Request::Focus:
            notices.setFocus(r.text);
            break;
        case Request::FocusNext:
            notices.focusNext();
            break;
        }
    }
}

bool runBeside(TForm1& window, const QString& what, const std::function<void(const StopFlag& stop)>& work)
{
    StopFlag stop{false};
    const InputHold hold(window, stop);
    const bool wasActive = window.isActiveWindow();
    window.setWorking(true);

    QEventLoop loop;
    QFutureWatcher<void> watcher;
    QObject::connect(&watcher, &QFutureWatcher<void>::finished, &loop, &QEventLoop::quit);
    // What the work throws is thrown again here, on the GUI thread, where dispatch shows it.
    std::exception_ptr failure;
    watcher.setFuture(QtConcurrent::run(&workers(), [&work, &stop, &failure] {
        try {
            work(stop);
        } catch (...) {
            failure = std::current_exception();
        }
    }));

    QPointer<QProgressDialog> progress;
    const FollowMoves follow(window, progress);
    QTimer later;
    later.setSingleShot(true);
    QObject::connect(&later, &QTimer::timeout, &window, [&] {
        progress = new QProgressDialog(what, texts::StopWork, 0, 0, &window);
        progress->setWindowTitle(window.form().kind->applicationTitle);
        progress->setAttribute(Qt::WA_DeleteOnClose);
        progress->setMinimumDuration(0);
        QObject::connect(progress, &QProgressDialog::canceled, &window, [&stop] { stop = true; });
        progress->show();
    });
    later.start(progressDelayMs);

    if (!watcher.isFinished())
        loop.exec();
    later.stop();
    const bool ended = !stop;
    if (progress) {
        // Closing the progress window would count as a stop.
        progress->disconnect(&window);
        progress->close();
        // Not every window manager gives the activation back to the window a dialog leaves.
        if (wasActive)
            window.activateWindow();
    }
    window.setWorking(false);
    if (failure)
        std::rethrow_exception(failure);
    return ended;
}

WorkTaken runOnCopy(TForm1& window, const QString& what,
                    const std::function<void(Form& copy, Notices& notices, const StopFlag& stop)>& handler,
                    const std::function<void()>& beforeTaking)
{
    // What the operator typed is in the record before it is copied; nothing starts while other
    // work runs.
    if (!window.dispatch([] {}))
        return {};
    Form copy = window.form();
    DeferredNotices deferred;
    std::exception_ptr failure;
    const bool ended = runBeside(window, what, [&](const StopFlag& stop) {
        try {
            handler(copy, deferred, stop);
        } catch (...) {
            // As on the GUI thread, the state reached stands and the failure is shown.
            failure = std::current_exception();
        }
    });
    if (!ended)
        return {};
    if (beforeTaking)
        beforeTaking();
    window.dispatch([&] {
        window.form() = std::move(copy);
        deferred.replay(window.ui());
        if (failure)
            std::rethrow_exception(failure);
    });
    return {true, deferred.movesFocus()};
}
