#include "core/settings/LiveSettings.h"

#include <algorithm>

namespace queldo {

void LiveSettings::trackBarChange(int position)
{
    trackBarPosition = std::clamp(position, MinimumPosition, MaximumPosition);
    if (trackBarPosition == MiddlePosition) {
        customScale = 0;
        effectiveScale = baseScale;
    } else {
        customScale = 1;
        // Worked out in higher precision, then kept as a 32-bit factor.
        effectiveScale = float(double(trackBarPosition) * double(baseScale) * 0.1);
    }
}

void LiveSettings::fitSize()
{
    trackBarChange(MiddlePosition);
    customScale = 0;
    effectiveScale = baseScale;
}

QString LiveSettings::sizeCaption() const
{
    if (trackBarPosition == MiddlePosition)
        return QStringLiteral("1.0倍");
    return QString::number(double(trackBarPosition) * 0.1, 'g', 15) + QStringLiteral("倍");
}

float LiveSettings::okScale() const
{
    return float(double(trackBarPosition) * double(baseScale) * 0.1);
}

} // namespace queldo
