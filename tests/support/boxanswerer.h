#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

// Answers the real modal message boxes of the window from the keyboard, as an operator
// would, and records what each box said.
class BoxAnswerer : public QObject {
public:
    struct Seen {
        QString title;
        QString text;
        QMessageBox::Icon icon;
    };

    explicit BoxAnswerer(QList<Qt::Key> keys = {}, Qt::Key fallback = Qt::Key_Return)
        : keys_(std::move(keys))
        , fallback_(fallback)
    {
        connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
        timer_.start(10);
    }

    QList<Seen> seen;

private:
    void poll()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || box == current_)
            return;
        current_ = box;
        seen.append({box->windowTitle(), box->text(), box->icon()});
        const Qt::Key key = keys_.isEmpty() ? fallback_ : keys_.takeFirst();
        QTest::keyClick(box, key);
    }

    QTimer timer_;
    QList<Qt::Key> keys_;
    Qt::Key fallback_;
    QMessageBox* current_ = nullptr;
};
