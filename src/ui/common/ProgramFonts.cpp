#include "ui/common/ProgramFonts.h"

#include <QApplication>
#include <QFont>

namespace queldo {

void installProgramFonts()
{
    QFont::insertSubstitution(GothicFace, QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(MinchoFace, QStringLiteral("IPAPMincho"));
    QFont font = QApplication::font();
    font.setFamilies({GothicFace});
    QApplication::setFont(font);
}

} // namespace queldo
