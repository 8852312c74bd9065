#pragma once

#include "platform/automation.h"

// The in-process servers that the registry starts with.
namespace platform::servers {

// "Excel.Application": workbooks, Cells of the active workbook.
AutomationObjectPtr createSpreadsheetApplication();
// "Excel.Sheet": a new workbook of an application of its own.
AutomationObjectPtr createSpreadsheetSheet();
// "word.Application": documents, paragraphs, tables.
AutomationObjectPtr createDocumentApplication();

} // namespace platform::servers
