#pragma once

#include "app/Session.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;
class TInputF;

// The main window, class TMainF (the form MainF): asks for the table size and
// opens the data window with a new table ("New Data") or with a table from a
// CSV data file ("Old Data"). Either hides it; closing it, from here or from
// the data window, ends the program. It sets the table size and the file to
// open in the session it is given, which outlives it.
class TMainF : public QWidget {
    Q_OBJECT
public:
    explicit TMainF(Session &session, QWidget *parent = nullptr);
    // Lets the autosave slot go: another copy may take it, and the next start
    // offers what it holds.
    ~TMainF() override;

    QLabel *MsgLabel;
    QLabel *LabelR;
    QLineEdit *EditR;
    QLabel *LabelC;
    QLineEdit *EditC;
    QPushButton *OKButton;
    QPushButton *OKODButton;
    QPushButton *ExitButton;
    // 「最近使ったファイル」: a menu of the data files opened or saved last.
    QToolButton *RecentButton;
    // Opens a questionnaire sheet in its own window (数量化III類).
    QPushButton *QuestionnaireButton;
    // 「クロス集計...」: a table made from records, one line per case.
    QToolButton *CrossTabButton;
    // 「起動時に前回の表を開く」: a plain start opens the table the data window
    // last had; kept in the settings, off unless the user turns it on.
    QCheckBox *LastTableBox;
    // The data window, owned by this window; null until one opens and after
    // a load that failed took it away.
    QPointer<TInputF> InputF;

    void FormCreate();
    void OKButtonClick();
    void OKODButtonClick();
    void ExitButtonClick();
    void CrossTabButtonClick();

    // "Old Data" with the file already chosen, as the program's file argument
    // gives it; `longFormat` when the user chose the long format's file type.
    void OpenDataFile(const QString &fileName, bool longFormat = false);
    // A file dropped on the window: a questionnaire sheet Quarnet saved opens
    // as 質問紙... opens it, any other data file as "Old Data".
    void OpenDroppedFile(const QString &fileName);
    // Offers the table of an autosave that an abnormal end left behind.
    void OfferRestore();
    // Opens the table the data window had when the program last ended, with
    // its dimensions, decimal box and report file.
    void OpenLastTable();
    // The menu of RecentButton: one entry per recent file, opening it as
    // "Old Data" does.
    QMenu *RecentMenu();

protected:
    void closeEvent(QCloseEvent *event) override;
    // Enter presses the focused button, or else "New Data", the window's
    // default button.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void OpenInputF(bool oldData, const QString &dataFileName, const QString &message);
    void ReturnFromFailedLoad();

    Session &session_;
};

// Program start: creates the main window MainF on `session` and shows it, or,
// given a file argument (arguments[1]), opens that CSV data file straight in
// the data window. The caller owns the window returned.
TMainF *StartQuarnet(Session &session, const QStringList &arguments);
