#include "ScanSettingsDialog.h"

#include "ImageSizeList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace vestrel::scan {
namespace {

QString Text(const std::string& s) { return QString::fromStdString(s); }
QString Text(const char* s) { return QString::fromUtf8(s); }

constexpr const char* kFolderTitle = "选择文件夹";
constexpr const char* kBookNote = "注意：每扫描一本书前书名必须重新命名，扫描前请注意图像状态";

// The naming radios in index order (naming mode - 1).
constexpr ScanSettingsDialog::Control kNamingRadios[] = {
    ScanSettingsDialog::NameCustom, ScanSettingsDialog::NameTime,  ScanSettingsDialog::NameSerial,
    ScanSettingsDialog::NameOdd,    ScanSettingsDialog::NameEven, ScanSettingsDialog::NameSequential};

}  // namespace

ScanSettingsDialog::ScanSettingsDialog(ScanSettingsForm form, Prompter& prompter,
                                       SettingsPreviewTarget& target, std::filesystem::path programDir,
                                       QWidget* parent)
    : QDialog(parent), form_(std::move(form)), prompter_(prompter), target_(target),
      programDir_(std::move(programDir))
{
    setWindowTitle(Text("扫描设置"));
    build();
    showForm();
    connectControls();
}

void ScanSettingsDialog::build()
{
    auto add = [this](Control id, QWidget* w) {
        w->setObjectName(QString::number(int(id)));
        controls_[id] = w;
        return w;
    };
    auto* layout = new QGridLayout(this);

    // 保存路径
    auto* pathBox = new QGroupBox(Text("保存路径"), this);
    auto* pathRow = new QHBoxLayout(pathBox);
    auto* path = static_cast<QLineEdit*>(add(PathField, new QLineEdit(pathBox)));
    path->setReadOnly(true);
    pathRow->addWidget(path);
    pathRow->addWidget(add(Browse, new QPushButton(Text("浏览"), pathBox)));
    layout->addWidget(pathBox, 0, 0, 1, 2);

    // 自动处理
    auto* autoBox = new QGroupBox(Text("自动处理"), this);
    auto* autoGrid = new QGridLayout(autoBox);
    autoGrid->addWidget(add(ThresholdCheck, new QCheckBox(Text("自动二值化"), autoBox)), 0, 0);
    auto* slider = static_cast<QSlider*>(add(ThresholdSlider, new QSlider(Qt::Horizontal, autoBox)));
    slider->setRange(kThresholdMin, kThresholdMax);
    autoGrid->addWidget(slider, 0, 1);
    autoGrid->addWidget(add(ThresholdValueField, new QLineEdit(autoBox)), 0, 2);
    autoGrid->addWidget(add(EraserCheck, new QCheckBox(Text("自动去底色"), autoBox)), 1, 0);
    auto* strengthRow = new QHBoxLayout;
    strengthRow->addWidget(add(StrengthDown, new QPushButton(Text("－"), autoBox)));
    strengthRow->addWidget(add(StrengthField, new QLineEdit(autoBox)));
    strengthRow->addWidget(add(StrengthUp, new QPushButton(Text("＋"), autoBox)));
    autoGrid->addLayout(strengthRow, 1, 1, 1, 2);
    autoGrid->addWidget(add(TimeCheck, new QCheckBox(Text("自动添加时间"), autoBox)), 2, 0);
    autoGrid->addWidget(add(GreyCheck, new QCheckBox(Text("自动灰度图"), autoBox)), 2, 1);
    autoGrid->addWidget(add(DeskewCheck, new QCheckBox(Text("倾斜校正"), autoBox)), 2, 2);
    auto* preview = static_cast<QPushButton*>(add(PreviewButton, new QPushButton(autoBox)));
    preview->setMinimumHeight(140);
    autoGrid->addWidget(preview, 0, 3, 3, 1);
    layout->addWidget(autoBox, 1, 0, 1, 2);

    // 图像大小, 图像状态, 图像格式 and the JPEG quality
    auto* imageBox = new QGroupBox(this);
    auto* imageGrid = new QGridLayout(imageBox);
    auto* sizes = static_cast<QComboBox*>(add(SizeList, new QComboBox(imageBox)));
    for (const ImageSizeEntry& e : ImageSizeList()) sizes->addItem(Text(std::string(e.label)));
    auto* orientations = static_cast<QComboBox*>(add(OrientationList, new QComboBox(imageBox)));
    for (const char* o : kOrientationList) orientations->addItem(Text(o));
    auto* formats = static_cast<QComboBox*>(add(FormatList, new QComboBox(imageBox)));
    for (const char* f : kFormatList) formats->addItem(Text(f));
    imageGrid->addWidget(new QLabel(Text("图像大小"), imageBox), 0, 0);
    imageGrid->addWidget(sizes, 0, 1);
    imageGrid->addWidget(new QLabel(Text("图像状态"), imageBox), 1, 0);
    imageGrid->addWidget(orientations, 1, 1);
    imageGrid->addWidget(new QLabel(Text("图像格式"), imageBox), 2, 0);
    imageGrid->addWidget(formats, 2, 1);
    imageGrid->addWidget(new QLabel(Text("JPG保存质量"), imageBox), 3, 0);
    auto* quality = static_cast<QSlider*>(add(QualitySlider, new QSlider(Qt::Horizontal, imageBox)));
    quality->setRange(0, 100);
    imageGrid->addWidget(quality, 3, 1);
    imageGrid->addWidget(add(QualityLabel, new QLabel(imageBox)), 3, 2);
    layout->addWidget(imageBox, 2, 0);

    // 定时扫描
    auto* timedBox = new QGroupBox(Text("定时扫描"), this);
    auto* timedRow = new QHBoxLayout(timedBox);
    timedRow->addWidget(new QLabel(Text("时间间隔"), timedBox));
    timedRow->addWidget(add(IntervalField, new QLineEdit(timedBox)));
    timedRow->addWidget(new QLabel(Text("毫秒"), timedBox));
    layout->addWidget(timedBox, 3, 0);

    // 图像命名
    auto* namingBox = new QGroupBox(Text("图像命名"), this);
    auto* namingGrid = new QGridLayout(namingBox);
    const char* radioTexts[] = {"自定义", "时间命名", "序号递增", "奇数命名(1、3、5...)", "偶数命名(2、4、6...)",
                                "顺序命名(1、2、3...)"};
    for (int i = 0; i < 6; ++i)
        namingGrid->addWidget(add(kNamingRadios[i], new QRadioButton(Text(radioTexts[i]), namingBox)), i % 3,
                              i / 3 * 2);
    namingGrid->addWidget(add(BookNamingCheck, new QCheckBox(Text("书籍扫描"), namingBox)), 3, 0);
    namingGrid->addWidget(new QLabel(Text("书名："), namingBox), 3, 1);
    namingGrid->addWidget(add(BookNameField, new QLineEdit(namingBox)), 3, 2);
    auto* note = new QLabel(Text(kBookNote), namingBox);
    note->setWordWrap(true);
    namingGrid->addWidget(note, 4, 0, 1, 3);
    layout->addWidget(namingBox, 2, 1, 2, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(Text("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(Text("取消"));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(add(RestoreDefaults, new QPushButton(Text("恢复默认设置"), this)));
    bottom->addStretch();
    bottom->addWidget(buttons);
    layout->addLayout(bottom, 4, 0, 1, 2);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void ScanSettingsDialog::connectControls()
{
    auto check = [this](Control id) { return static_cast<QCheckBox*>(controls_.at(id)); };
    auto button = [this](Control id) { return static_cast<QPushButton*>(controls_.at(id)); };
    auto combo = [this](Control id) { return static_cast<QComboBox*>(controls_.at(id)); };
    auto slider = [this](Control id) { return static_cast<QSlider*>(controls_.at(id)); };
    auto edit = [this](Control id) { return static_cast<QLineEdit*>(controls_.at(id)); };
    // Each action changes the form, then the form is shown again; actions that come from
    // showing it are not the user's.
    auto act = [this](auto&& change) {
        return [this, change](auto&&... args) {
            if (showing_) return;
            change(args...);
            showForm();
        };
    };

    connect(button(Browse), &QPushButton::clicked, this, act([this](bool) {
                if (const auto chosen = prompter_.chooseFolder(kFolderTitle, form_.path))
                    ChoosePhotoFolder(form_, *chosen, prompter_);
            }));
    connect(check(ThresholdCheck), &QCheckBox::toggled, this,
            act([this](bool on) { SetThreshold(form_, on, target_); }));
    connect(check(EraserCheck), &QCheckBox::toggled, this, act([this](bool on) { SetEraser(form_, on, target_); }));
    connect(check(TimeCheck), &QCheckBox::toggled, this, act([this](bool on) { form_.addtime = on; }));
    connect(check(GreyCheck), &QCheckBox::toggled, this, act([this](bool on) { form_.grayscale = on; }));
    connect(check(DeskewCheck), &QCheckBox::toggled, this, act([this](bool on) { form_.incline = on; }));
    connect(slider(ThresholdSlider), &QSlider::valueChanged, this,
            act([this](int v) { SetThresholdValue(form_, v, target_); }));
    connect(edit(ThresholdValueField), &QLineEdit::textEdited, this, act([this](const QString& text) {
                const RangedNumber n = ReadRangedNumber(text.toStdString(), kThresholdMin, kThresholdMax);
                if (n.value) SetThresholdValue(form_, *n.value, target_);
            }));
    connect(edit(StrengthField), &QLineEdit::textEdited, this, act([this](const QString& text) {
                const RangedNumber n = ReadRangedNumber(text.toStdString(), kStrengthMin, kStrengthMax);
                if (n.value) StepStrength(form_, *n.value - form_.eraserValue, target_);
            }));
    connect(button(StrengthDown), &QPushButton::clicked, this, act([this](bool) { StepStrength(form_, -1, target_); }));
    connect(button(StrengthUp), &QPushButton::clicked, this, act([this](bool) { StepStrength(form_, +1, target_); }));
    connect(button(PreviewButton), &QPushButton::clicked, this, act([this](bool) { TogglePreview(form_, target_); }));
    connect(combo(SizeList), &QComboBox::currentIndexChanged, this,
            act([this](int i) { ChooseSize(form_, i, target_); }));
    connect(combo(OrientationList), &QComboBox::currentIndexChanged, this, act([this](int i) {
                form_.orientationIndex = i;
                target_.selectOrientation(i);
            }));
    connect(combo(FormatList), &QComboBox::currentIndexChanged, this, act([this](int i) { ChooseFormat(form_, i); }));
    connect(slider(QualitySlider), &QSlider::valueChanged, this, act([this](int v) { form_.jpgQuality = v; }));
    for (int i = 0; i < 6; ++i) {
        connect(static_cast<QRadioButton*>(controls_.at(kNamingRadios[i])), &QRadioButton::toggled, this,
                act([this, i](bool on) {
                    if (on) form_.namingIndex = i;
                }));
    }
    connect(check(BookNamingCheck), &QCheckBox::toggled, this, act([this](bool on) { SetBookNaming(form_, on); }));
    connect(edit(BookNameField), &QLineEdit::textEdited, this,
            act([this](const QString& text) { form_.bookname = text.toStdString(); }));
    connect(button(RestoreDefaults), &QPushButton::clicked, this,
            act([this](bool) { RestoreFormDefaults(form_, programDir_, target_); }));
}

void ScanSettingsDialog::showForm()
{
    showing_ = true;
    const ScanSettingsControls enabled = EnabledControls(form_);
    auto check = [this](Control id, bool on, bool isEnabled = true) {
        auto* box = static_cast<QCheckBox*>(controls_.at(id));
        box->setChecked(on);
        box->setEnabled(isEnabled);
    };
    auto edit = [this](Control id, const std::string& text, bool isEnabled = true) {
        auto* field = static_cast<QLineEdit*>(controls_.at(id));
        if (!field->hasFocus() || !field->isModified()) field->setText(Text(text));
        field->setEnabled(isEnabled);
    };
    static_cast<QLineEdit*>(controls_.at(PathField))->setText(Text(form_.path));
    check(ThresholdCheck, form_.threshold);
    check(EraserCheck, form_.eraser);
    check(TimeCheck, form_.addtime);
    check(GreyCheck, form_.grayscale);
    check(DeskewCheck, form_.incline);
    check(BookNamingCheck, form_.bookNaming);
    auto* threshold = static_cast<QSlider*>(controls_.at(ThresholdSlider));
    threshold->setValue(form_.thresholdValue);
    threshold->setEnabled(enabled.thresholdSlider);
    edit(ThresholdValueField, std::to_string(form_.thresholdValue));
    edit(StrengthField, std::to_string(form_.eraserValue));
    controls_.at(StrengthDown)->setEnabled(enabled.strengthButtons);
    controls_.at(StrengthUp)->setEnabled(enabled.strengthButtons);
    auto* preview = static_cast<QPushButton*>(controls_.at(PreviewButton));
    preview->setText(Text(PreviewCaption(form_.previewOn)));
    preview->setEnabled(enabled.previewButton);
    static_cast<QComboBox*>(controls_.at(SizeList))->setCurrentIndex(form_.sizeIndex);
    static_cast<QComboBox*>(controls_.at(OrientationList))->setCurrentIndex(form_.orientationIndex);
    static_cast<QComboBox*>(controls_.at(FormatList))->setCurrentIndex(form_.formatIndex);
    auto* quality = static_cast<QSlider*>(controls_.at(QualitySlider));
    quality->setValue(form_.jpgQuality);
    quality->setEnabled(enabled.qualitySlider);
    static_cast<QLabel*>(controls_.at(QualityLabel))->setText(Text(scan::QualityLabel(form_.jpgQuality)));
    edit(IntervalField, std::to_string(form_.interval));
    edit(BookNameField, form_.bookname, enabled.bookControls);
    for (int i = 0; i < 6; ++i) {
        auto* radio = static_cast<QRadioButton*>(controls_.at(kNamingRadios[i]));
        radio->setChecked(form_.namingIndex == i);
        radio->setEnabled(i < kNamingOddIndex ? enabled.plainNaming : enabled.bookControls);
    }
    showing_ = false;
}

bool ScanSettingsDialog::readRanged(Control id, int low, int high, int& into)
{
    auto* field = static_cast<QLineEdit*>(controls_.at(id));
    const RangedNumber n = ReadRangedNumber(field->text().toStdString(), low, high);
    if (n.value) {
        into = *n.value;
        return true;
    }
    prompter_.message(n.message, {}, MessageKind::Warning);
    field->setFocus();
    field->selectAll();
    return false;
}

void ScanSettingsDialog::accept()
{
    int threshold = form_.thresholdValue, strength = form_.eraserValue, interval = form_.interval;
    if (!readRanged(ThresholdValueField, kThresholdMin, kThresholdMax, threshold) ||
        !readRanged(StrengthField, kStrengthMin, kStrengthMax, strength) ||
        !readRanged(IntervalField, kIntervalMin, kIntervalMax, interval))
        return;
    form_.thresholdValue = threshold;
    form_.eraserValue = strength;
    form_.interval = interval;
    form_.bookname = static_cast<QLineEdit*>(controls_.at(BookNameField))->text().toStdString();
    if (!form_.path.empty() && form_.path.back() != '/') form_.path += '/';
    CloseForm(form_, target_);
    QDialog::accept();
}

void ScanSettingsDialog::reject()
{
    CloseForm(form_, target_);
    QDialog::reject();
}

}  // namespace vestrel::scan
