#pragma once

#include "core/board/ProblemLoader.h"

#include <QString>

namespace queldo {

/// The settings the running program reads: the settings dialog edits them, the exercise window
/// reads them at every drop, scoring and problem load. One object shared by both windows.
struct LiveSettings
{
    static constexpr int MinimumPosition = 7;
    static constexpr int MiddlePosition = 10;
    static constexpr int MaximumPosition = 13;

    bool referenceMode = false;            ///< reference mode as the dialog's check box holds it
    bool alignmentMode = false;            ///< alignment mode
    int trackBarPosition = MiddlePosition; ///< image size in tenths, 7 to 13
    int CustomScale = 0;                   ///< 1 while a size other than the middle one is chosen
    float BaseScale = 0.7f;                ///< fit scale of the problem on the board
    float EffectiveScale = 1.0f;           ///< the factor pieces are drawn at

    /// The track bar moved to position, by the trainee or by the program.
    void trackBarChange(int position);
    /// "最適サイズ(1.0倍)": back to the middle position and the fit scale.
    void fitSize();
    /// A problem load computed its scales: the fit scale and the drawing factor become the
    /// live ones, and the size setting goes back to the middle when the load says so.
    void applyScale(const ScaleResult &scale);
    /// The size caption: "1.0倍" at the middle, otherwise the multiplier such as "1.3倍".
    QString sizeCaption() const;
    /// The factor the OK button stores: position x fit scale x 0.1.
    float okScale() const;
};

} // namespace queldo
