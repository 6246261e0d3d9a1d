#include "extras/windows/SettingsWindow.h"

#include "app/CommandContext.h"
#include "app/Workspace.h"
#include "app/windows/SelectAllText.h"
#include "extras/Preferences.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace dovi {

namespace {

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QCheckBox* checkBox(const char* caption, const char* name) {
    return named(new QCheckBox(QString::fromLatin1(caption)), name);
}

QLineEdit* textBox(const char* name) {
    QLineEdit* box = named(new QLineEdit, name);
    selectAllOnFocus(box);
    return box;
}

QGroupBox* group(const QString& caption, QLayout* layout) {
    auto* box = new QGroupBox(caption);
    box->setLayout(layout);
    return box;
}

QVBoxLayout* column(std::initializer_list<QWidget*> widgets) {
    auto* layout = new QVBoxLayout;
    for (QWidget* w : widgets)
        layout->addWidget(w);
    return layout;
}

QToolButton* browseButton(const char* name) {
    QToolButton* button = named(new QToolButton, name);
    button->setIcon(button->style()->standardIcon(QStyle::SP_DirOpenIcon));
    button->setToolTip(QStringLiteral("Browse for a folder"));
    return button;
}

// A slider with its value shown beside it.
QWidget* sliderRow(QSlider* slider) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* value = new QLabel(QString::number(slider->value()));
    value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
    QObject::connect(slider, &QSlider::valueChanged, value,
                     [value](int v) { value->setText(QString::number(v)); });
    layout->addWidget(slider, 1);
    layout->addWidget(value);
    return row;
}

QSlider* slider(const char* name, int minimum, int maximum) {
    QSlider* s = named(new QSlider(Qt::Horizontal), name);
    s->setRange(minimum, maximum);
    return s;
}

void showValue(QCheckBox* box, int value) {
    box->setChecked(value == 1);
}

} // namespace

SettingsWindow::SettingsWindow(QWidget* parent, Workspace& workspace, ShellServices& shell)
    : QDialog(parent), workspace_(workspace), shell_(shell) {
    setObjectName(QStringLiteral("frmSettings"));
    setWindowTitle(extras::kPreferencesCaption);
    tabs_ = new QTabWidget(this);
    tabs_->addTab(buildGeneralTab(), QStringLiteral("General"));
    tabs_->addTab(buildBatchTab(), QStringLiteral("Batch"));
    tabs_->addTab(buildImagesTab(), QStringLiteral("Images"));
    tabs_->addTab(buildSlideshowTab(), QStringLiteral("Slideshow"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
    load();
    connectEdits();
}

QWidget* SettingsWindow::buildGeneralTab() {
    startup_ = textBox("startup");
    startupBrowse_ = browseButton("startupbrowse");
    auto* startupRow = new QHBoxLayout;
    startupRow->addWidget(startup_, 1);
    startupRow->addWidget(startupBrowse_);

    system_ = checkBox("Show System", "system");
    hidden_ = checkBox("Show Hidden", "hidden");
    readonly_ = checkBox("Show Read-Only", "readonly");
    archive_ = checkBox("Show Archive", "archive");
    auto* inclusions = new QGridLayout;
    inclusions->addWidget(system_, 0, 0);
    inclusions->addWidget(hidden_, 0, 1);
    inclusions->addWidget(readonly_, 1, 0);
    inclusions->addWidget(archive_, 1, 1);

    confirm_ = checkBox("Show Confirmations Before Acting", "confirm");
    recycle_ = checkBox("Send Deleted Items to the Trash", "recycle");

    lines_ = textBox("lines");
    lines_->setMaximumWidth(80);
    auto* limitRow = new QHBoxLayout;
    limitRow->addWidget(new QLabel(QStringLiteral("Limit History to")));
    limitRow->addWidget(lines_);
    limitRow->addWidget(new QLabel(QStringLiteral("lines")));
    limitRow->addStretch();

    auto* tab = new QWidget;
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(group(QStringLiteral("Dovi Startup Folder"), startupRow));
    layout->addWidget(group(QStringLiteral("File System Inclusions"), inclusions));
    layout->addWidget(group(QStringLiteral("Safety Options"), column({confirm_, recycle_})));
    layout->addWidget(group(QStringLiteral("History Limit"), limitRow));
    layout->addStretch();
    return tab;
}

QWidget* SettingsWindow::buildBatchTab() {
    updown_ = checkBox("Resample Images Up and Down", "updown");

    altsavefld_ = checkBox("Alternate Save Folder When Processing", "altsavefld");
    altsavefldpath_ = textBox("altsavefldpath");
    altsavefldBrowse_ = browseButton("altsavefldbrowse");
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(altsavefldpath_, 1);
    folderRow->addWidget(altsavefldBrowse_);
    auto* folderLayout = new QVBoxLayout;
    folderLayout->addWidget(altsavefld_);
    folderLayout->addLayout(folderRow);

    altsave_ = checkBox("Alternate Save Format", "altsave");
    altsavefmt_ = named(new QComboBox, "altsavefmt");
    altsavefmt_->addItems({QStringLiteral("JPEG"), QStringLiteral("BMP"), QStringLiteral("TGA"),
                           QStringLiteral("PCX")});
    convonly_ = checkBox("Convert Only", "convonly");
    delorig_ = checkBox("Delete Original", "delorig");
    auto* conversion = new QGridLayout;
    conversion->addWidget(altsave_, 0, 0);
    conversion->addWidget(altsavefmt_, 0, 1);
    conversion->addWidget(convonly_, 1, 0);
    conversion->addWidget(delorig_, 1, 1);

    static const char* const presetNames[] = {"op64", "op86", "op17", "op18", "op1210", "op1612"};
    auto* presets = new QGridLayout;
    for (int i = 0; i < int(presets_.size()); ++i) {
        presets_[i] = named(new QRadioButton(extras::presetCaption(extras::kProcessPresets[i])),
                            presetNames[i]);
        presets->addWidget(presets_[i], i / 2, i % 2);
    }
    opCustom_ = named(new QRadioButton(QStringLiteral("Custom Size")), "opCustom");
    presets->addWidget(opCustom_, 3, 0);

    iwidth_ = textBox("iwidth");
    iheight_ = textBox("iheight");
    auto* custom = new QFormLayout;
    custom->addRow(QStringLiteral("Width"), iwidth_);
    custom->addRow(QStringLiteral("Height"), iheight_);

    auto* sizes = new QHBoxLayout;
    sizes->addWidget(group(QStringLiteral("Process at"), presets), 2);
    sizes->addWidget(group(QStringLiteral("Custom Details"), custom), 1);

    auto* tab = new QWidget;
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(updown_);
    layout->addWidget(group(QStringLiteral("Alternate Save Location"), folderLayout));
    layout->addWidget(group(QStringLiteral("Conversion Options"), conversion));
    layout->addLayout(sizes);
    layout->addStretch();
    return tab;
}

QWidget* SettingsWindow::buildImagesTab() {
    limit_ = checkBox("No preview images over", "limit");
    limitamount_ = textBox("limitamount");
    limitamount_->setMaximumWidth(90);
    auto* limitRow = new QHBoxLayout;
    limitRow->addWidget(limit_);
    limitRow->addWidget(limitamount_);
    limitRow->addWidget(new QLabel(QStringLiteral("Kb")));
    limitRow->addStretch();
    preview_ = checkBox("Show Image Preview Information", "preview");

    lum_ = slider("lum", 1, 255);
    chrom_ = slider("chrom", 1, 255);
    auto* quality = new QFormLayout;
    quality->addRow(QStringLiteral("Luminance"), sliderRow(lum_));
    quality->addRow(QStringLiteral("Chrominance"), sliderRow(chrom_));

    auto* tab = new QWidget;
    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(limitRow);
    layout->addWidget(preview_);
    layout->addWidget(group(QStringLiteral("JPEG Image Quality"), quality));
    layout->addStretch();
    return tab;
}

QWidget* SettingsWindow::buildSlideshowTab() {
    interval_ = slider("interval", 0, 60);
    showname_ = checkBox("Show Image Filename", "showname");
    loop_ = checkBox("Loop Continuously", "loop");
    random_ = checkBox("Randomise Image Order", "random");
    timer_ = named(new QRadioButton(QStringLiteral("Timer")), "timer");
    manual_ = named(new QRadioButton(QStringLiteral("Manual")), "manual");
    auto* modes = new QHBoxLayout;
    modes->addWidget(timer_);
    modes->addWidget(manual_);
    modes->addStretch();

    auto* options = new QVBoxLayout;
    options->addWidget(new QLabel(QStringLiteral("Interval in Seconds")));
    options->addWidget(sliderRow(interval_));
    options->addWidget(showname_);
    options->addWidget(loop_);
    options->addWidget(random_);
    options->addLayout(modes);

    auto* tab = new QWidget;
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(group(QStringLiteral("Slideshow Options"), options));
    layout->addStretch();
    return tab;
}

void SettingsWindow::load() {
    const Settings& s = workspace_.settings;
    startup_->setText(s.startupFolder);
    showValue(archive_, s.includeArchive);
    showValue(hidden_, s.includeHidden);
    showValue(readonly_, s.includeReadOnly);
    showValue(system_, s.includeSystem);
    showValue(confirm_, s.confirmActions);
    showValue(recycle_, s.recycleDeleted);
    lines_->setText(QString::number(s.historyLimit));

    const extras::ProcessSizeView size = extras::processSizeView(s.processWidth, s.processHeight);
    (size.preset >= 0 ? presets_[size.preset] : opCustom_)->setChecked(true);
    iwidth_->setText(size.width);
    iheight_->setText(size.height);

    showValue(altsave_, s.altSaveFormatOn);
    if (s.altSaveFormat >= 0 && s.altSaveFormat < altsavefmt_->count())
        altsavefmt_->setCurrentIndex(s.altSaveFormat);
    showValue(convonly_, s.convertOnly);
    showValue(delorig_, s.deleteOriginal);
    showValue(altsavefld_, s.altSaveFolderOn);
    altsavefldpath_->setText(s.altSaveFolderPath);
    showValue(updown_, s.resampleUpDown);

    lum_->setValue(s.jpegLuminance);
    chrom_->setValue(s.jpegChrominance);
    showValue(preview_, s.showPreviewInfo);
    showValue(limit_, s.previewLimitOn);
    limitamount_->setText(QString::number(s.previewLimitKb));

    (s.slideManual == 1 ? manual_ : timer_)->setChecked(true);
    interval_->setValue(s.slideInterval);
    showValue(random_, s.slideRandom);
    showValue(loop_, s.slideLoop);
    showValue(showname_, s.slideShowFileName);
}

void SettingsWindow::connectEdits() {
    Settings& s = workspace_.settings;
    const std::pair<QCheckBox*, int Settings::*> plainBoxes[] = {
        {archive_, &Settings::includeArchive},     {hidden_, &Settings::includeHidden},
        {readonly_, &Settings::includeReadOnly},   {system_, &Settings::includeSystem},
        {confirm_, &Settings::confirmActions},     {recycle_, &Settings::recycleDeleted},
        {altsavefld_, &Settings::altSaveFolderOn}, {updown_, &Settings::resampleUpDown},
        {preview_, &Settings::showPreviewInfo},    {limit_, &Settings::previewLimitOn},
        {random_, &Settings::slideRandom},         {loop_, &Settings::slideLoop},
        {showname_, &Settings::slideShowFileName}};
    for (const auto& [box, field] : plainBoxes)
        connect(box, &QCheckBox::toggled, this, [&s, field](bool on) { s.*field = on ? 1 : 0; });

    const std::pair<QCheckBox*, extras::ConversionBox> conversionBoxes[] = {
        {altsave_, extras::ConversionBox::AltSaveFormat},
        {convonly_, extras::ConversionBox::ConvertOnly},
        {delorig_, extras::ConversionBox::DeleteOriginal}};
    for (const auto& [box, which] : conversionBoxes)
        connect(box, &QCheckBox::toggled, this, [this, &s, which](bool on) {
            extras::setConversionBox(s, which, on);
            // The three boxes show what the rule left of them.
            const QSignalBlocker a(altsave_), c(convonly_), d(delorig_);
            showValue(altsave_, s.altSaveFormatOn);
            showValue(convonly_, s.convertOnly);
            showValue(delorig_, s.deleteOriginal);
        });

    connect(altsavefmt_, &QComboBox::currentIndexChanged, this,
            [&s](int index) { s.altSaveFormat = index; });
    connect(lum_, &QSlider::valueChanged, this, [&s](int v) { s.jpegLuminance = v; });
    connect(chrom_, &QSlider::valueChanged, this, [&s](int v) { s.jpegChrominance = v; });
    connect(interval_, &QSlider::valueChanged, this, [&s](int v) { s.slideInterval = v; });
    connect(manual_, &QRadioButton::toggled, this, [&s](bool on) {
        if (on)
            s.slideManual = 1;
    });
    connect(timer_, &QRadioButton::toggled, this, [&s](bool on) {
        if (on)
            s.slideManual = 0;
    });

    connect(startup_, &QLineEdit::textChanged, this,
            [&s](const QString& text) { s.startupFolder = text; });
    connect(altsavefldpath_, &QLineEdit::textChanged, this,
            [&s](const QString& text) { s.altSaveFolderPath = text; });
    connect(startupBrowse_, &QToolButton::clicked, this, [this] { browseInto(startup_); });
    connect(altsavefldBrowse_, &QToolButton::clicked, this,
            [this] { browseInto(altsavefldpath_); });

    for (int i = 0; i < int(presets_.size()); ++i)
        connect(presets_[i], &QRadioButton::toggled, this, [this, &s, i](bool on) {
            if (!on)
                return;
            s.processWidth = extras::kProcessPresets[i].width;
            s.processHeight = extras::kProcessPresets[i].height;
            iwidth_->clear();
            iheight_->clear();
        });
    for (QLineEdit* box : {iwidth_, iheight_}) {
        connect(box, &QLineEdit::textEdited, this,
                [this](const QString& text) { customBoxEdited(text); });
        int& setting = box == iwidth_ ? s.processWidth : s.processHeight;
        connect(box, &QLineEdit::editingFinished, this,
                [this, box, &setting] { customBoxLeft(box, setting); });
    }
}

void SettingsWindow::browseInto(QLineEdit* box) {
    if (const std::optional<QString> folder = shell_.selectFolder())
        box->setText(extras::browsedFolderText(*folder));
}

void SettingsWindow::customBoxEdited(const QString& text) {
    if (!text.isEmpty())
        opCustom_->setChecked(true);
}

void SettingsWindow::customBoxLeft(QLineEdit* box, int& setting) {
    if (box->text().isEmpty())
        return;
    // Anything but a whole number never reaches the settings: the box shows
    // the last valid number again.
    if (const std::optional<int> value = extras::customDimension(box->text()))
        setting = *value;
    else
        box->setText(QString::number(setting));
}

void SettingsWindow::done(int result) {
    if (!closed_) {
        closed_ = true;
        extras::closePreferences(workspace_, shell_,
                                 {opCustom_->isChecked(), iwidth_->text(), iheight_->text(),
                                  lines_->text(), limitamount_->text()});
    }
    QDialog::done(result);
}

} // namespace dovi
