#pragma once

#include "ui/common/MessageWindow.h"

namespace queldo {

struct PrintOutcome;

/// Says what became of a printout that did not simply go to the printer: saved as a PDF file
/// (where no printer is installed), or not printed at all and why.
class PrintOutcomeMessage : public MessageWindow
{
    Q_OBJECT
public:
    explicit PrintOutcomeMessage(const PrintOutcome &outcome, QWidget *parent = nullptr);
    /// Whether a printout's outcome is worth a message: a plain printout needs none.
    static bool needed(const PrintOutcome &outcome);
};

} // namespace queldo
