#pragma once

// The generator draws from the program's own band tables.
#include "core/board/BandTable.h"
#include "core/board/ChromosomeId.h"

using queldo::BandStain;
using queldo::BandTable;
using queldo::CytoBand;
using queldo::ShadedBand;
namespace ChromosomeId = queldo::ChromosomeId;
