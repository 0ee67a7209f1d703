#pragma once

namespace kb::dataset {
class TDataM;
} // namespace kb::dataset

namespace kb::app {

// Before the program ends: for every table object with an edit or insert not
// yet posted, asks once whether to save it. "Да" posts (a post the database
// refuses is reported by the default error handler), "Нет" drops the change,
// "Отмена" stops. True when the program may end: nothing is pending any more.
bool settlePendingEdits(dataset::TDataM& dataModule);

} // namespace kb::app
