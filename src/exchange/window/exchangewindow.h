#pragma once

#include "exchange/csvexport.h"
#include "exchange/importsource.h"
#include "exchange/importstore.h"
#include "ui/program.h"

#include <functional>
#include <optional>

class QWidget;

// The File menu's export and import, as the main window runs them.
namespace perlinex::exchange {

// "&Export CSV...": asks for the file (never one of the collection's) and whether to copy the
// pictures into a folder beside it, writes the selected stamps in their order with a progress
// window and Cancel, and says where they went and how many. Damage met on the way is thrown on
// as db::DbError for the error handler.
void exportFromWindow(Program& program, QWidget* parent, const StampSelection& selection);

// "&Import...": asks for a CSV or Tellico file and shows the import dialog on it. Once stamps
// are stored, showStored runs (the main window shows the collection again) and the number that
// came in is told; their outcome is returned. Damage met on the way goes to the error handler.
std::optional<ImportOutcome>
importFromWindow(Program& program, QWidget* parent, const PictureConverter& convert,
                 const std::function<void(const ImportOutcome&)>& showStored);

} // namespace perlinex::exchange
