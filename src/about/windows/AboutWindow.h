#pragma once
#include "about/AboutFacts.h"

#include <QDialog>
#include <QTimer>
#include <QUrl>
#include <functional>

class QLabel;
class QProgressBar;

namespace dovi {

// "About Dovi": the version, the display mode, the system's name and the
// physical memory (read again every second), and links to web pages that
// open in the default browser and close the window.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    using MemoryReader = std::function<about::MemoryFacts()>;
    using UrlOpener = std::function<bool(const QUrl&)>;

    AboutWindow(QWidget* parent, MemoryReader readMemory, UrlOpener openUrl);

    QLabel* label(const char* name) const;
    QProgressBar* memoryGauge() const { return gauge_; }
    const QTimer& memoryTimer() const { return timer_; }

    // Refreshes the memory lines and the gauge.
    void memoryDisplay();
    // Opens a link's page, then closes.
    void openLink(const QString& address);

protected:
    void done(int result) override;

private:
    QLabel* addLink(const char* name, const QString& caption, const QString& address);

    MemoryReader readMemory_;
    UrlOpener openUrl_;
    QLabel* totalMemory_;
    QLabel* freeMemory_;
    QProgressBar* gauge_;
    QTimer timer_;
};

} // namespace dovi
