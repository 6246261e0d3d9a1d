#include "slideshow/SlideShow.h"

#include "app/Settings.h"
#include "app/SharedServices.h"

namespace dovi::slideshow {

ShowOptions ShowOptions::from(const Settings& s) {
    ShowOptions o;
    o.manual = s.slideManual != 0;
    o.intervalSeconds = s.slideInterval;
    o.random = s.slideRandom != 0;
    o.loop = s.slideLoop != 0;
    o.showFileName = s.slideShowFileName == 1;
    return o;
}

SlideShow::SlideShow(SlideScreen screen) : screen_(screen) {}

SlideShow::~SlideShow() {
    dropPrefetch();
}

bool SlideShow::start(Ui& ui, QStringList actionList, const ShowOptions& options,
                      const RandomSource& random) {
    dropPrefetch();
    options_ = options;
    source_ = options.random ? jumbleFiles(ui, actionList, random) : std::move(actionList);
    slideIndex_ = 0;
    slidesShown_ = 0;
    slideCount_ = int(source_.size());
    current_ = {};
    if (loadNext(ui))
        return true;
    showMessage(ui, kNoImagesMessage);
    return false;
}

bool SlideShow::step(Ui& ui) {
    if (slideIndex_ >= source_.size()) {
        if (!options_.loop)
            return false;
        slideIndex_ = 0;
    }
    if (loadNext(ui))
        return true;
    // The entries after the last slide shown were all unshowable: the show
    // has reached its end within this step.
    if (!options_.loop)
        return false;
    slideIndex_ = 0;
    return loadNext(ui);
}

bool SlideShow::loadNext(Ui& ui) {
    FoundSlide found;
    if (prefetch_.valid() && prefetchIndex_ == slideIndex_) {
        found = prefetch_.get();
    } else {
        dropPrefetch();
        setStatus(ui, true);
        found = findSlide(source_, slideIndex_, screen_);
        setStatus(ui, false);
    }
    prefetchIndex_ = -1;
    slideIndex_ = found.nextIndex;
    if (!found.slide)
        return false;
    ++slidesShown_;
    current_ = std::move(*found.slide);
    if (slideIndex_ < source_.size())
        prefetchFrom(slideIndex_);
    else if (options_.loop)
        prefetchFrom(0);
    return true;
}

void SlideShow::prefetchFrom(int index) {
    prefetchIndex_ = index;
    prefetch_ = std::async(std::launch::async, [list = source_, index, screen = screen_] {
        return findSlide(list, index, screen);
    });
}

void SlideShow::dropPrefetch() {
    if (prefetch_.valid())
        prefetch_.wait();
    prefetch_ = {};
    prefetchIndex_ = -1;
}

QString SlideShow::captionText() const {
    if (!options_.showFileName || current_.path.isEmpty())
        return {};
    return QStringLiteral("Current Slide -->     ") + current_.path + QStringLiteral("     X(") +
           QString::number(current_.width) + QStringLiteral(")     Y(") +
           QString::number(current_.height) + QStringLiteral(")     (") +
           QString::number(slideIndex_) + QStringLiteral(" of ") + QString::number(slideCount_) +
           QStringLiteral(")");
}

int SlideShow::timerPeriod() const {
    if (options_.manual || options_.intervalSeconds <= 0)
        return 0;
    return options_.intervalSeconds * 1000;
}

} // namespace dovi::slideshow
