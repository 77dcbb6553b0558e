#pragma once

#include <QString>

namespace queldo {

/// The faces the windows are laid out for.
inline const QString GothicFace = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString MinchoFace = QStringLiteral("ＭＳ Ｐ明朝");

/// Maps the two faces to Debian's metric-compatible IPA P fonts, so texts take the widths the
/// layouts were made for, and makes the Gothic face the program's default font.
void installProgramFonts();

} // namespace queldo
