#pragma once

#include "core/McaAnalysis.h"
#include "core/QuestionnaireSheet.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;
class QComboBox;
class TGraphF;

// The sheet in the grid: the ID, then one column per question, each header
// the question's name with its role when it is not analysed as it stands.
// Read-only: a questionnaire is edited where it was made.
class QuestionnaireModel : public QAbstractTableModel {
    Q_OBJECT
public:
    QuestionnaireModel(const QuestionnaireSheet &sheet, const QuestionnaireMarks &marks,
        QObject *parent = nullptr);
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // The marks changed: the headers and the greyed columns follow.
    void marksChanged();
    // Questions were added or removed: everything is read afresh.
    void sheetChanged();

private:
    const QuestionnaireSheet &sheet_;
    const QuestionnaireMarks &marks_;
};

// The questionnaire's data window: the sheet in the grid, each question's
// role set from its header's menu (分析に使う / 補助（質的）/ 補助（量的）/
// 使わない / 重み), where a multiple-answer question is also split into
// yes/no questions (複数回答を回答ごとの はい/いいえ に分ける), the missing answers' handling, the
// report file and the dimensions; OK runs the analysis to the report file; 描画, 詳細 and
// 得点を保存 show or save that run, and are off until a run completes and
// again after a role changes; 保存 writes the sheet with its marks in the
// corner field, so that it opens as it was left. Owned by the main window.
class QuestionnaireWindow : public QWidget {
    Q_OBJECT
public:
    QuestionnaireWindow(LoadedQuestionnaire loaded, const QString &fileName, QWidget *owner);
    // The grid and its model go first: they read the sheet and the marks.
    ~QuestionnaireWindow() override;

    QTableView *Grid;
    QComboBox *MissingBox;
    QLineEdit *ReportEdit;
    QLineEdit *DimEdit;
    QPushButton *OKButton;
    QPushButton *GButton; // 描画
    QPushButton *DetailButton; // 詳細
    QPushButton *ScoresButton; // 得点を保存
    QPushButton *SaveButton; // 保存
    QLabel *MsgLabel;

    const QuestionnaireMarks &Marks() const { return marks_; }
    std::shared_ptr<const McaResult> LastRun() const { return lastRun_; }
    // The header menu of question `position` (1-based), made afresh.
    QMenu *HeaderMenu(int position);
    void SetRole(int position, QuestionRole role);
    // Splits a multiple-answer question into yes/no questions, one per
    // answer (SplitMultipleAnswers), from the header menu.
    void SplitQuestion(int position);

    void OKButtonClick();
    void GButtonClick();
    void DetailButtonClick();
    void ScoresButtonClick();
    void SaveButtonClick();

private:
    void runInvalidated();

    QuestionnaireSheet sheet_;
    QuestionnaireMarks marks_;
    QuestionnaireModel *model_;
    std::shared_ptr<const McaResult> lastRun_;
    QPointer<TGraphF> graph_;
    QPointer<QWidget> results_;
};

// The main window's way in: asks for a questionnaire file and opens its
// window, owned by `owner`. Cancelling leaves everything as it was.
void OpenQuestionnaire(QWidget *owner);
void OpenQuestionnaireFile(QWidget *owner, const QString &fileName);
