#include "core/settings/LiveSettings.h"

#include <algorithm>

namespace queldo {

void LiveSettings::trackBarChange(int position)
{
    trackBarPosition = std::clamp(position, MinimumPosition, MaximumPosition);
    if (trackBarPosition == MiddlePosition) {
        CustomScale = 0;
        EffectiveScale = BaseScale;
    } else {
        CustomScale = 1;
        // Worked out in higher precision, then kept as a 32-bit factor.
        EffectiveScale = float(double(trackBarPosition) * double(BaseScale) * 0.1);
    }
}

void LiveSettings::applyScale(const ScaleResult &scale)
{
    BaseScale = scale.BaseScale;
    if (scale.trackBarReset)
        trackBarChange(MiddlePosition);
    EffectiveScale = scale.EffectiveScale;
}

void LiveSettings::fitSize()
{
    trackBarChange(MiddlePosition);
    CustomScale = 0;
    EffectiveScale = BaseScale;
}

QString LiveSettings::sizeCaption() const
{
    if (trackBarPosition == MiddlePosition)
        return QStringLiteral("1.0倍");
    return QString::number(double(trackBarPosition) * 0.1, 'g', 15) + QStringLiteral("倍");
}

float LiveSettings::okScale() const
{
    return float(double(trackBarPosition) * double(BaseScale) * 0.1);
}

} // namespace queldo
