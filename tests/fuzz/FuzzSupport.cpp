#include "FuzzSupport.h"

#include <QtGlobal>

// Qt's decoders report hostile input on stderr ("Index out of bound" and the like), thousands of
// times a second; libFuzzer's own report is what matters.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    return 0;
}
