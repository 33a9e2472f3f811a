#pragma once

#include "app/layout.h"
#include "board/form.h"

#include <QHash>
#include <QtGlobal>
#include <QWidget>

#include <functional>
#include <memory>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class MoveListModel;
class BoardMarks;
class PictureWindow;
class QImage;
class Ui;

// The main window. It builds its controls from the layout table, copies what the operator
// typed into the record before each handler and shows the record after it. It keeps no record
// state of its own.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    // With ui null the window answers its own boxes and dialogs (the running program);
    // tests pass a scripted one.
    explicit TForm1(const BuildKind& kind = BuildKind::standard(), Ui* ui = nullptr);
    ~TForm1() override;

    Form& form() { return form_; }
    Ui& ui() { return *ui_; }
    const WindowLayout& layout() const { return layout_; }
    QWidget* control(const QString& name) const { return controls_.value(name); }
    QLineEdit* cell(int x, int y) const;
    QTableView* stringGrid1() const { return grid1_; }
    QTableView* stringGrid2() const { return grid2_; }
    // The controls in the order Tab visits them.
    QList<QWidget*> tabChain() const;

    // Copies the record onto the controls.
    void showModel();
    void focusControl(const QString& name);
    void moveFocusNext();
    // Quit was confirmed: the close that follows asks nothing.
    void acceptQuit() { quitAccepted_ = true; }
    bool quitAccepted() const { return quitAccepted_; }

    // Runs a handler between copying typed text in and showing the record; a failed
    // conversion ends the handler with the general error box, any other failure with its
    // reason. While work runs beside the window nothing runs, and false is returned.
    bool dispatch(const std::function<void()>& handler);

    // The straightened picture a board was just read from, `pitch` pixels a line, shown
    // beside the window for as long as the record is that reading.
    void setPicture(const QImage& straight, int pitch, const QString& source);
    // Shows it again once closed; nothing for a typed record.
    void showPictureWindow();
    PictureWindow* pictureWindow() const { return picture_; }
    // To the next point of a reading in doubt: F6, or Enter on a point in doubt (`confirmed`:
    // it was looked at, and once none is left the focus goes on in the tab order).
    void goToDoubt(bool confirmed);
    // A file named on the command line, as the desktop names a .sgf file opened with the
    // program: opened as the Open button opens one, its dialog answered with that name.
    void openGiven(const QString& path);

    // Long work is running beside the event loop; nothing else may start meanwhile.
    bool working() const { return working_; }
    void setWorking(bool on) { working_ = on; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void build();
    QWidget* makeControl(const ControlDef& def);
    void makeRadioGroup(const ControlDef& def);
    QTableView* makeGrid(const ControlDef& def);
    template <typename T>
    T* typedControl(const char* name) const;
    void bindHandlers();
    void commitListEditors();
    void copyIn();
    void showOnce();
    void showCells();
    void showGrid(QTableView* grid, MoveListModel* model);
    void showLog();
    void showReadingMarks();
    bool cellEvent(QLineEdit* cellWidget, QEvent* event);
    bool gridEvent(QTableView* grid, QEvent* event);
    void cellFocusIn(QLineEdit* cellWidget, Qt::FocusReason reason);
    // A point of a reading still to be looked at.
    bool isDoubt(const QLineEdit* cellWidget) const;
    void cellFocusOut(QLineEdit* cellWidget, Qt::FocusReason reason);

    Form form_;
    WindowLayout layout_;
    std::unique_ptr<Ui> ownUi_;
    Ui* ui_ = nullptr;
    QHash<QString, QWidget*> controls_;
    QList<QLineEdit*> cells_;
    QHash<const QObject*, int> cellIndex_;
    // Set once when the window is built; events reach the controls through these.
    QLineEdit* souTesuu_ = nullptr;
    QLineEdit* txtPuls_ = nullptr;
    QLineEdit* txtKensaku_ = nullptr;
    QLineEdit* gameInfo_ = nullptr;
    QLineEdit* sankouZu_ = nullptr;
    QLineEdit* controlMei_ = nullptr;
    QLabel* lblHyoudai_ = nullptr;
    QLabel* lblNyuuryokuSumi_ = nullptr;
    QLabel* lblOkiisi_ = nullptr;
    QGroupBox* radioGroup_ = nullptr;
    QTableView* grid1_ = nullptr;
    QTableView* grid2_ = nullptr;
    MoveListModel* model1_ = nullptr;
    MoveListModel* model2_ = nullptr;
    QPlainTextEdit* memo_ = nullptr;
    QButtonGroup* radio_ = nullptr;
    QPushButton* lock_ = nullptr;
    BoardMarks* marks_ = nullptr;
    PictureWindow* picture_ = nullptr;
    // The cell whose enter handling has run and whose exit handling has not.
    QLineEdit* enteredCell_ = nullptr;
    // The leading bytes of the hidden header fields as last shown.
    QByteArray shownGameInfo_;
    QByteArray shownSankouZu_;
    bool headersShown_ = false;
    int shownLogLength_ = 0;
    int shownLogClears_ = 0;
    bool quitAccepted_ = false;
    bool working_ = false;
    bool showing_ = false;
    bool showAgain_ = false;
};

// A control the layout lacks, or of another kind, is a fault of the program itself.
template <typename T>
T* TForm1::typedControl(const char* name) const
{
    T* w = qobject_cast<T*>(controls_.value(QLatin1String(name)));
    if (!w)
        qFatal("the window has no control %s of the expected kind", name);
    return w;
}
