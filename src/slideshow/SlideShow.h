#pragma once
#include "slideshow/Jumble.h"
#include "slideshow/Slide.h"

#include <QStringList>
#include <future>

namespace dovi {
class Ui;
struct Settings;
} // namespace dovi

namespace dovi::slideshow {

// The show's settings, read once when it starts.
struct ShowOptions {
    bool manual = true;
    int intervalSeconds = 5;
    bool random = false;
    bool loop = false;
    bool showFileName = true;

    static ShowOptions from(const Settings& settings);
};

inline const QString kNoImagesMessage = QStringLiteral("No images were found!");

// A show over the action list, without a window: which slide is shown, how
// far the show has got, and the caption line. While a slide is shown, the
// next one is found, decoded and fitted on a worker thread, so a step costs
// little more than handing over a finished picture.
class SlideShow {
public:
    explicit SlideShow(SlideScreen screen);
    ~SlideShow();
    SlideShow(const SlideShow&) = delete;
    SlideShow& operator=(const SlideShow&) = delete;

    // Starts afresh over actionList (shuffled in random mode) and shows the
    // first showable file. False, after "No images were found!", when the
    // list holds none: the window then closes.
    bool start(Ui& ui, QStringList actionList, const ShowOptions& options,
               const RandomSource& random = {});

    // The next showable slide. Past the end a looping show starts again from
    // the first entry (a random show in the same order); a show that does not
    // loop ends: false, and the window closes. Unshowable files are passed
    // over within the step.
    bool step(Ui& ui);

    const Slide& current() const { return current_; }
    // "Current Slide -->     path     X(w)     Y(h)     (i of n)"; empty when
    // the option to show file names is off.
    QString captionText() const;
    // The timer's period in milliseconds; 0 leaves it idle (manual mode, or
    // an interval of 0).
    int timerPeriod() const;

    const QStringList& source() const { return source_; }
    const ShowOptions& options() const { return options_; }
    int slideIndex() const { return slideIndex_; }
    int slidesShown() const { return slidesShown_; }
    int slideCount() const { return slideCount_; }

private:
    bool loadNext(Ui& ui);
    void prefetchFrom(int index);
    void dropPrefetch();

    SlideScreen screen_;
    ShowOptions options_;
    QStringList source_;
    Slide current_;
    int slideIndex_ = 0;
    int slidesShown_ = 0;
    int slideCount_ = 0;
    std::future<FoundSlide> prefetch_;
    int prefetchIndex_ = -1;
};

} // namespace dovi::slideshow
