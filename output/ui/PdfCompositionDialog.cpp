#include "PdfCompositionDialog.h"

#include "CompositionList.h"
#include "PdfMessages.h"
#include "ProgramDir.h"
#include "SourceList.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace vestrel::output {
namespace {

QString q(const std::string& text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

}  // namespace

PdfCompositionDialog::PdfCompositionDialog(Prompter& prompter, AskName askName, QWidget* parent)
    : QDialog(parent), prompter_(prompter), askName_(std::move(askName)), job_(prompter)
{
    setWindowTitle(QStringLiteral("Pdf合成"));

    list_ = new QTableWidget(0, 1, this);
    list_->horizontalHeader()->hide();
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 6);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setShowGrid(true);
    list_->setWordWrap(false);
    // Full paths; a long one keeps its folder start and its file name in sight.
    list_->setTextElideMode(Qt::ElideMiddle);

    auto makeButton = [this](Control control, const char* caption, void (PdfCompositionDialog::*action)()) {
        auto* button = new QPushButton(QString::fromUtf8(caption), this);
        // Enter in the save-folder field must not start a command.
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, action);
        buttons_[control] = button;
        return button;
    };

    auto* listButtons = new QVBoxLayout;
    listButtons->addWidget(makeButton(AddFiles, "选择文件", &PdfCompositionDialog::addFiles));
    listButtons->addWidget(makeButton(AddFolder, "选择文件夹", &PdfCompositionDialog::addFolder));
    listButtons->addWidget(makeButton(MoveUp, "上移", &PdfCompositionDialog::moveUp));
    listButtons->addWidget(makeButton(MoveDown, "下移", &PdfCompositionDialog::moveDown));
    listButtons->addWidget(makeButton(Remove, "删除", &PdfCompositionDialog::removeSelected));
    listButtons->addStretch();
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(list_, 1);
    listRow->addLayout(listButtons);

    saveFolder_ = new QLineEdit(q(loadPdfSaveFolder()), this);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(new QLabel(QString::fromUtf8(kSaveFolderLabel), this));
    folderRow->addWidget(saveFolder_, 1);
    folderRow->addWidget(
        makeButton(ChooseSaveFolder, "选择文件夹", &PdfCompositionDialog::chooseSaveFolder));

    auto* convertRow = new QHBoxLayout;
    searchable_ = new QCheckBox(QStringLiteral("可搜索文字"), this);
    searchable_->setEnabled(false);
    convertRow->addWidget(searchable_);
    convertRow->addStretch();
    convertRow->addWidget(makeButton(Merge, "合并转换", &PdfCompositionDialog::merge));
    convertRow->addWidget(makeButton(Separate, "分别转换", &PdfCompositionDialog::separate));

    progress_ = new QProgressBar(this);
    progress_->setRange(0, 1);
    progress_->setValue(0);
    progress_->setFormat(QStringLiteral("%v/%m"));
    progress_->setTextVisible(false);  // "0/1" before the first job would mean nothing
    cancel_ = new QPushButton(QString::fromUtf8(kCancelConversion), this);
    cancel_->setAutoDefault(false);
    cancel_->setEnabled(false);
    connect(cancel_, &QPushButton::clicked, this, &PdfCompositionDialog::cancelConversion);
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(progress_, 1);
    progressRow->addWidget(cancel_);
    status_ = new QLabel(this);
    status_->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(listRow, 1);
    layout->addLayout(folderRow);
    layout->addLayout(convertRow);
    layout->addLayout(progressRow);
    layout->addWidget(status_);
    resize(640, 420);

    connect(&job_, &ConversionJob::progressed, this,
            [this](int done, int) { progress_->setValue(done); });
    connect(&job_, &ConversionJob::finished, this, &PdfCompositionDialog::jobFinished);
}

PdfCompositionDialog::~PdfCompositionDialog() = default;

void PdfCompositionDialog::done(int result)
{
    if (job_.isRunning()) {
        job_.cancel();
        job_.waitForFinished();
    }
    storePdfSaveFolder(saveFolder_->text().toStdString());
    QDialog::done(result);
}

std::vector<std::size_t> PdfCompositionDialog::selectedRows() const
{
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : list_->selectionModel()->selectedRows())
        rows.push_back(std::size_t(index.row()));
    std::sort(rows.begin(), rows.end());
    return rows;
}

void PdfCompositionDialog::showSources(const std::vector<std::size_t>& selected)
{
    list_->clearSelection();
    list_->setRowCount(int(sources_.size()));
    for (std::size_t row = 0; row < sources_.size(); ++row) {
        const QString text = q(sources_[row]);
        if (QTableWidgetItem* item = list_->item(int(row), 0))
            item->setText(text);
        else
            list_->setItem(int(row), 0, new QTableWidgetItem(text));
    }
    QItemSelectionModel* selection = list_->selectionModel();
    for (const std::size_t row : selected)
        selection->select(list_->model()->index(int(row), 0),
                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    if (!selected.empty()) {
        const QModelIndex current = list_->model()->index(int(selected.back()), 0);
        selection->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
        list_->scrollTo(current);
    }
}

void PdfCompositionDialog::addFiles()
{
    FileDialogOptions options;
    options.filter = kAddFilesFilter;
    options.multiple = true;
    const auto chosen = prompter_.openFiles(options);
    if (!chosen)
        return;
    for (const std::string& path : *chosen)
        insertSource(sources_, path);
    showSources();
}

void PdfCompositionDialog::addFolder()
{
    const auto folder = prompter_.chooseFolder({}, {});
    if (!folder || folder->empty())
        return;
    for (const std::string& path : folderImages(*folder))
        insertSource(sources_, path);
    showSources();
}

void PdfCompositionDialog::moveUp()
{
    showSources(output::moveUp(sources_, selectedRows(), prompter_));
}

void PdfCompositionDialog::moveDown()
{
    showSources(output::moveDown(sources_, selectedRows(), prompter_));
}

void PdfCompositionDialog::removeSelected()
{
    output::removeSelected(sources_, selectedRows());
    showSources();
}

void PdfCompositionDialog::chooseSaveFolder()
{
    const std::string current = saveFolder_->text().toStdString();
    const auto chosen = prompter_.chooseFolder({}, current);
    saveFolder_->setText(q(output::chooseSaveFolder(current, chosen.value_or(""), prompter_)));
}

std::filesystem::path PdfCompositionDialog::folderInEffect() const
{
    // An emptied field means the default folder, as it is stored when the dialog closes.
    const std::string typed = saveFolder_->text().toStdString();
    return typed.empty() ? programpath::PdfDir() : std::filesystem::path(typed);
}

void PdfCompositionDialog::merge()
{
    if (sources_.empty()) {
        prompter_.message(kNoFilesToConvert, kPromptCaption);
        return;
    }
    const auto name = askName_();
    if (!name)
        return;
    if (name->empty()) {
        prompter_.message(kEmptyTargetName, kPromptCaption);
        return;
    }
    startJob(ConversionKind::Merge,
             [images = sources_, folder = folderInEffect(), name = *name,
              text = searchable_->isChecked() ? pageText_ : PageTextSource{}](
                 Prompter& prompter, const ConversionProgress& progress) {
                 return mergeToPdf(images, folder, name, prompter, progress, text);
             });
}

void PdfCompositionDialog::separate()
{
    if (sources_.empty()) {
        prompter_.message(kNoFilesToConvert, kPromptCaption);
        return;
    }
    std::optional<std::string> name;
    if (prompter_.askYesNo(kUseDefaultNames, kPromptCaption) != Answer::Yes) {
        const auto typed = askName_();
        if (!typed)
            return;
        if (typed->empty())
            prompter_.message(kEmptyNameUsesDefaults, kPromptCaption);
        else
            name = *typed;
    }
    startJob(ConversionKind::Separate,
             [images = sources_, folder = folderInEffect(), name,
              text = searchable_->isChecked() ? pageText_ : PageTextSource{}](
                 Prompter& prompter, const ConversionProgress& progress) {
                 return separatePdfs(images, folder, name, prompter, progress, text);
             });
}

void PdfCompositionDialog::startJob(ConversionKind kind, ConversionJob::Work work)
{
    runningKind_ = kind;
    progress_->setRange(0, int(sources_.size()));
    progress_->setValue(0);
    progress_->setTextVisible(true);
    status_->setText(QString::fromUtf8(kConverting));
    setConverting(true);
    job_.start(std::move(work));
}

void PdfCompositionDialog::cancelConversion()
{
    job_.cancel();
    cancel_->setEnabled(false);
    status_->setText(QString::fromUtf8(kCancelling));
}

void PdfCompositionDialog::jobFinished()
{
    setConverting(false);
    status_->setText(q(conversionSummary(runningKind_, job_.result())));
    emit conversionFinished();
}

void PdfCompositionDialog::setPageTextSource(PageTextSource source)
{
    pageText_ = std::move(source);
    searchable_->setEnabled(pageText_ && !job_.isRunning());
    if (!pageText_)
        searchable_->setChecked(false);
}

void PdfCompositionDialog::setConverting(bool converting)
{
    // The list stays open to look at; what would change it or the job's target waits.
    for (const auto& [control, button] : buttons_)
        button->setEnabled(!converting);
    saveFolder_->setEnabled(!converting);
    searchable_->setEnabled(!converting && pageText_);
    cancel_->setEnabled(converting);
}

}  // namespace vestrel::output
