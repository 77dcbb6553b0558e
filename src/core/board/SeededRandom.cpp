#include "core/board/SeededRandom.h"

#include <QDeadlineTimer>

namespace queldo {

void SeededRandom::reseedFromTicks()
{
    m_generator.seed(quint32(QDeadlineTimer::current().deadline()));
}

} // namespace queldo
