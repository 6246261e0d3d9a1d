#include "about/windows/AboutWindow.h"

#include "about/AboutLinks.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

namespace dovi {

namespace {

QLabel* namedLabel(const char* name, const QString& text) {
    auto* label = new QLabel(text);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

about::DisplayMode displayModeOf(const QWidget* widget) {
    const QScreen* screen = widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QSize size = screen->geometry().size() * screen->devicePixelRatio();
    return {size.width(), size.height(), screen->depth()};
}

// A link's caption: the address without its scheme and final "/".
QString addressCaption(const QString& address) {
    const QUrl url(address);
    QString text = url.host() + url.path();
    if (text.endsWith(QLatin1Char('/')))
        text.chop(1);
    return text.isEmpty() ? address : text;
}

} // namespace

AboutWindow::AboutWindow(QWidget* parent, MemoryReader readMemory, UrlOpener openUrl)
    : QDialog(parent), readMemory_(std::move(readMemory)), openUrl_(std::move(openUrl)) {
    setObjectName(QStringLiteral("frmAbout"));
    auto* layout = new QVBoxLayout(this);

    layout->addWidget(
        namedLabel("labTitle", QStringLiteral("<h2>%1</h2>").arg(about::aboutCaption())));

    const about::DisplayMode mode = displayModeOf(this);
    auto* system = new QGroupBox(QStringLiteral("Video and Operating System Information"), this);
    auto* systemLayout = new QVBoxLayout(system);
    systemLayout->addWidget(namedLabel("labXRes", about::xResText(mode)));
    systemLayout->addWidget(namedLabel("labYRes", about::yResText(mode)));
    systemLayout->addWidget(namedLabel("labDepth", about::depthText(mode)));
    systemLayout->addWidget(
        namedLabel("labWinVer", about::osVersionText(about::systemPrettyName())));
    layout->addWidget(system);

    auto* memory = new QGroupBox(QStringLiteral("Memory Information"), this);
    auto* memoryLayout = new QVBoxLayout(memory);
    totalMemory_ = namedLabel("labTotalMemory", {});
    freeMemory_ = namedLabel("labFreeMemory", {});
    gauge_ = new QProgressBar(memory);
    gauge_->setObjectName(QStringLiteral("progMemory"));
    gauge_->setTextVisible(false);
    memoryLayout->addWidget(totalMemory_);
    memoryLayout->addWidget(freeMemory_);
    memoryLayout->addWidget(gauge_);
    layout->addWidget(memory);

    layout->addWidget(addLink("Label2", QStringLiteral("Orvane"), about::kMakerUrl));
    layout->addWidget(
        addLink("Label4", addressCaption(about::kMakerSecondUrl), about::kMakerSecondUrl));
    layout->addWidget(addLink("Label6", addressCaption(about::kImagingUrl), about::kImagingUrl));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    memoryDisplay();
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, &AboutWindow::memoryDisplay);
    timer_.start();
    setWindowTitle(about::aboutCaption());
}

QLabel* AboutWindow::addLink(const char* name, const QString& caption, const QString& address) {
    auto* link = namedLabel(name, QStringLiteral("<a href=\"%1\">%2</a>")
                                      .arg(address.toHtmlEscaped(), caption.toHtmlEscaped()));
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    link->setToolTip(address);
    // A page without an address is not offered.
    link->setVisible(!address.isEmpty());
    connect(link, &QLabel::linkActivated, this, &AboutWindow::openLink);
    return link;
}

QLabel* AboutWindow::label(const char* name) const {
    return findChild<QLabel*>(QString::fromLatin1(name));
}

void AboutWindow::memoryDisplay() {
    const about::MemoryFacts facts = readMemory_();
    totalMemory_->setText(about::totalMemoryText(facts));
    freeMemory_->setText(about::freeMemoryText(facts));
    // The gauge counts in kilobytes; its int range covers 2 TB.
    const auto toGauge = [](qint64 kb) {
        return int(std::clamp<qint64>(kb, 0, std::numeric_limits<int>::max()));
    };
    gauge_->setRange(0, std::max(1, toGauge(facts.totalKb)));
    gauge_->setValue(std::min(toGauge(facts.availableKb), gauge_->maximum()));
}

void AboutWindow::openLink(const QString& address) {
    if (openUrl_)
        openUrl_(QUrl(address));
    accept();
}

void AboutWindow::done(int result) {
    timer_.stop();
    QDialog::done(result);
}

} // namespace dovi
