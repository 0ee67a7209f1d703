#include "NavigatorRules.h"

#include "DataSet.h"
#include "Table.h"

namespace kb::databound {

NavigatorEnabling navigatorEnabling(const dataset::DataSet* dataSet) noexcept {
    NavigatorEnabling on{};
    if (!dataSet || !dataSet->isActive())
        return on;
    const auto set = [&on](NavigatorButton button, bool enabled) { on[size_t(button)] = enabled; };

    const auto* table = qobject_cast<const dataset::Table*>(dataSet);
    const bool canModify = table && table->canModify();
    const bool editing = table && table->isEditing();
    set(NavigatorButton::Insert, canModify);
    set(NavigatorButton::Refresh, canModify);
    set(NavigatorButton::Edit, canModify && !editing);
    set(NavigatorButton::Post, canModify && editing);
    set(NavigatorButton::Cancel, canModify && editing);

    bool bof = true;
    bool eof = true;
    try {
        bof = dataSet->bof(); // may read the rows of a table object
        eof = dataSet->eof();
    } catch (...) {
        return on;
    }
    set(NavigatorButton::First, !bof);
    set(NavigatorButton::Prior, !bof);
    set(NavigatorButton::Next, !eof);
    set(NavigatorButton::Last, !eof);
    set(NavigatorButton::Delete, canModify && !(bof && eof));
    return on;
}

} // namespace kb::databound
