#pragma once
#include <QProgressBar>

namespace dovi {

// A progress bar that carries a caption. Mode 0 shows the caption as it is
// (the idle "Dovi - Idle"); mode 1, the busy mode, shows the caption with the
// percentage done.
class CaptionedProgressBar : public QProgressBar {
    Q_OBJECT
public:
    explicit CaptionedProgressBar(QWidget* parent = nullptr);

    void setMode(int mode);
    int mode() const { return mode_; }
    void setCaption(const QString& caption);
    QString caption() const { return caption_; }

private:
    void refreshFormat();

    int mode_ = 0;
    QString caption_;
};

} // namespace dovi
