#pragma once
#include <QLabel>
#include <QTimer>
#include <functional>

namespace dovi {

// Shows the logo while the program starts, then hands over: on its second
// one-second tick it runs showMain and closes itself.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    SplashWindow(const QString& logoPath, bool normalDpi, std::function<void()> showMain);

    int tickCount() const { return tick_; }

private:
    void onTick();

    QLabel* picture_;
    QTimer timer_;
    int tick_ = 1;
    std::function<void()> showMain_;
};

} // namespace dovi
