#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;

// The main window, class TMainF (the form MainF; the program's unit UQuarnet
// holds it and the table size): asks for the table size and opens the data window with a
// new table ("New Data") or with a table from a CSV data file ("Old Data").
// Either hides it; closing it, from here or from the data window, ends the
// program.
class TMainF : public QWidget {
    Q_OBJECT
public:
    explicit TMainF(QWidget *parent = nullptr);
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

    void FormCreate();
    void OKButtonClick();
    void OKODButtonClick();
    void ExitButtonClick();

    // "Old Data" with the file already chosen, as the program's file argument
    // gives it.
    void OpenDataFile(const QString &fileName);
    // Offers the table of an autosave that an abnormal end left behind.
    void OfferRestore();
    // The menu of RecentButton: one entry per recent file, opening it as
    // "Old Data" does.
    QMenu *RecentMenu();

protected:
    void closeEvent(QCloseEvent *event) override;
    // Enter presses the focused button, or else "New Data", the window's
    // default button.
    void keyPressEvent(QKeyEvent *event) override;
    // A CSV data file dropped on the window opens as "Old Data" does.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void OpenInputF(bool oldData, const QString &dataFileName, const QString &message);
    void ReturnFromFailedLoad();
};

extern TMainF *MainF;
// The table size: from EditR and EditC ("New Data") or from the loaded file
// ("Old Data"); zero until then.
extern std::int32_t TableRows;
extern std::int32_t TableCols;

// Program start: creates MainF and shows it, or, given a file argument
// (arguments[1]), opens that CSV data file straight in the data window.
void StartQuarnet(const QStringList &arguments);
