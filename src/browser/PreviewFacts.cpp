#include "browser/PreviewFacts.h"

namespace dovi::browser {

QString groupThousands(qint64 value, const QLocale& locale) {
    if (value == 0)
        return {};
    // The C locale leaves groups out by default; the labels always group.
    QLocale grouping = locale;
    grouping.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return grouping.toString(value);
}

PreviewLabels PreviewLabels::describe(const ImageFacts& facts, const QLocale& locale) {
    PreviewLabels l;
    l.x = QStringLiteral("X : ") + QString::number(facts.width);
    l.y = QStringLiteral("Y : ") + QString::number(facts.height);
    l.size =
        QStringLiteral("Size : ") + groupThousands(facts.fileSize, locale) + QStringLiteral("(b)");
    l.colours = QStringLiteral("Unique Colours : ") + groupThousands(facts.uniqueColours, locale);
    l.bpp = QStringLiteral("Colour Depth : ") + QString::number(facts.bitsPerPixel) +
            QStringLiteral(" bpp");
    return l;
}

QImage fitInto(const QImage& picture, const QSize& box) {
    if (picture.isNull() || box.isEmpty())
        return picture;
    if (picture.width() <= box.width() && picture.height() <= box.height())
        return picture;
    return picture.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

} // namespace dovi::browser
