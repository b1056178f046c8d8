#pragma once

#include <QString>

#include "tools/MapFinding.h"

namespace zandrel::app {

// The Italian texts of the map check list, all in one place: the findings' own messages are
// English, for zdmtool and its scripts, and carry the details (slots, names, positions).

// What a finding of code means, in one line.
QString FindingText(tools::MapCheckCode code);
// "Errore" or "Avviso".
QString SeverityText(tools::FindingSeverity severity);
// "x, z" for a finding's cell; empty for a finding without one.
QString CellText(const tools::MapFinding& finding);
// The line above the list: how many errors and warnings, or that there is nothing to fix.
QString SummaryText(int errors, int warnings);
// Shown instead of a summary while no map is open.
QString NoMapText();

}  // namespace zandrel::app
