#pragma once
#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSlider;
class QTabWidget;
class QToolButton;

namespace dovi {

class ShellServices;
class Workspace;
struct Settings;

// "Dovi Preferences": four tabs of controls over the settings. Most store
// their value as soon as they change; the history and preview limits and the
// custom size are read when the window closes, and closing always applies the
// closing steps (there is no cancel).
class SettingsWindow : public QDialog {
    Q_OBJECT
public:
    SettingsWindow(QWidget* parent, Workspace& workspace, ShellServices& shell);

    QTabWidget* tabs() const { return tabs_; }
    // The named controls ("startup", "op1210", "iwidth", ...) are found with
    // findChild by those names.

    void done(int result) override;

private:
    QWidget* buildGeneralTab();
    QWidget* buildBatchTab();
    QWidget* buildImagesTab();
    QWidget* buildSlideshowTab();
    void load();
    void connectEdits();
    void browseInto(QLineEdit* box);
    void customBoxEdited(const QString& text);
    void customBoxLeft(QLineEdit* box, int& setting);

    Workspace& workspace_;
    ShellServices& shell_;
    bool closed_ = false;

    QTabWidget* tabs_;
    // General
    QLineEdit* startup_ = nullptr;
    QToolButton* startupBrowse_ = nullptr;
    QCheckBox* system_ = nullptr;
    QCheckBox* hidden_ = nullptr;
    QCheckBox* readonly_ = nullptr;
    QCheckBox* archive_ = nullptr;
    QCheckBox* confirm_ = nullptr;
    QCheckBox* recycle_ = nullptr;
    QLineEdit* lines_ = nullptr;
    // Batch
    QCheckBox* updown_ = nullptr;
    QCheckBox* altsavefld_ = nullptr;
    QLineEdit* altsavefldpath_ = nullptr;
    QToolButton* altsavefldBrowse_ = nullptr;
    QCheckBox* altsave_ = nullptr;
    QComboBox* altsavefmt_ = nullptr;
    QCheckBox* convonly_ = nullptr;
    QCheckBox* delorig_ = nullptr;
    std::array<QRadioButton*, 6> presets_{};
    QRadioButton* opCustom_ = nullptr;
    QLineEdit* iwidth_ = nullptr;
    QLineEdit* iheight_ = nullptr;
    // Images
    QCheckBox* limit_ = nullptr;
    QLineEdit* limitamount_ = nullptr;
    QCheckBox* preview_ = nullptr;
    QSlider* lum_ = nullptr;
    QSlider* chrom_ = nullptr;
    // Slideshow
    QSlider* interval_ = nullptr;
    QCheckBox* showname_ = nullptr;
    QCheckBox* loop_ = nullptr;
    QCheckBox* random_ = nullptr;
    QRadioButton* timer_ = nullptr;
    QRadioButton* manual_ = nullptr;
};

} // namespace dovi
