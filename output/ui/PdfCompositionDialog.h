#pragma once
// "Pdf合成": the user gathers image files into an ordered list and turns them into one PDF
// ("合并转换") or one PDF per image ("分别转换") in the save folder. The list rules, the
// save folder and the conversions live in the core (SourceList, CompositionList,
// PdfConversion); this dialog shows them and runs the conversions on a worker thread
// with a progress bar and a cancel button.

#include "ConversionJob.h"
#include "PdfConversion.h"

#include <QDialog>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace vestrel::output {

class PdfCompositionDialog : public QDialog {
    Q_OBJECT
public:
    // The buttons, by the ids they have always had.
    enum Control {
        AddFiles = 1068,
        MoveUp = 1070,
        Remove = 1071,
        MoveDown = 1072,
        ChooseSaveFolder = 1074,
        Merge = 1075,
        Separate = 1076,
        AddFolder = 1077,
    };

    // Asks for the target name (the file-name dialog); nothing when the user cancelled.
    using AskName = std::function<std::optional<std::string>()>;

    // The save folder is read from config.ini here and written back when the dialog closes.
    PdfCompositionDialog(Prompter& prompter, AskName askName, QWidget* parent = nullptr);
    // A conversion still running is cancelled and waited for.
    ~PdfCompositionDialog() override;

    const std::vector<std::string>& sources() const { return sources_; }
    QTableWidget* sourceList() const { return list_; }
    QLineEdit* saveFolderField() const { return saveFolder_; }
    QPushButton* button(Control control) const { return buttons_.at(control); }
    QPushButton* cancelButton() const { return cancel_; }
    QProgressBar* progressBar() const { return progress_; }
    QLabel* statusLabel() const { return status_; }
    // "可搜索文字": the pages get the text read from them as an invisible, searchable
    // layer. Offered only once a source of page text is set.
    void setPageTextSource(PageTextSource source);
    QCheckBox* searchableBox() const { return searchable_; }
    bool isConverting() const { return job_.isRunning(); }

    // Closing, however it comes, stops a running conversion after its current page and
    // stores the save folder.
    void done(int result) override;

signals:
    // A conversion is over and its outcome is in the status line; its messages follow.
    void conversionFinished();

private:
    void addFiles();
    void addFolder();
    void moveUp();
    void moveDown();
    void removeSelected();
    void chooseSaveFolder();
    void merge();
    void separate();
    void cancelConversion();

    std::vector<std::size_t> selectedRows() const;
    // Rebuilds the list from sources_ and selects `selected`, the last of them current.
    void showSources(const std::vector<std::size_t>& selected = {});
    std::filesystem::path folderInEffect() const;
    void startJob(ConversionKind kind, ConversionJob::Work work);
    void jobFinished();
    void setConverting(bool converting);

    Prompter& prompter_;
    AskName askName_;
    std::vector<std::string> sources_;
    ConversionJob job_;
    ConversionKind runningKind_ = ConversionKind::Merge;

    QTableWidget* list_;
    QLineEdit* saveFolder_;
    std::map<Control, QPushButton*> buttons_;
    QPushButton* cancel_;
    QProgressBar* progress_;
    QLabel* status_;
    QCheckBox* searchable_;
    PageTextSource pageText_;
};

}  // namespace vestrel::output
