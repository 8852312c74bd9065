#include "maintenance/clear_all.h"

#include "platform/ado.h"
#include "platform/message_box.h"
#include "records/record_window.h"

#include <exception>

namespace maintenance {

const std::array<ClearAllItem, 9>& clearAllItems() {
    static const std::array<ClearAllItem, 9> items = {{
        {QStringLiteral("清空全部备忘录记录"), QStringLiteral("TForm11"),
         QStringLiteral("您真的要删除所有备忘录记录吗?")},
        {QStringLiteral("清空全部日记记录"), QStringLiteral("TForm4"),
         QStringLiteral("您真的要删除所有日记记录吗?")},
        {QStringLiteral("清空全部销售记录"), QStringLiteral("TForm2"),
         QStringLiteral("您真的要删除所有销售记录吗?")},
        {QStringLiteral("清空全部进货记录"), QStringLiteral("TForm3"),
         QStringLiteral("您真的要删除所有进货记录吗?")},
        {QStringLiteral("清空全部汇款记录"), QStringLiteral("TForm5"),
         QStringLiteral("您真的要删除所有汇款记录吗?")},
        {QStringLiteral("清空全部员工工资记录"), QStringLiteral("TForm7"),
         QStringLiteral("您真的要删除所有员工工资记录吗?")},
        {QStringLiteral("清空全部员工请假记录"), QStringLiteral("TForm6"),
         QStringLiteral("您真的要删除所有员工请假记录吗?")},
        {QStringLiteral("清空全部电费记录"), QStringLiteral("TForm9"),
         QStringLiteral("您真的要删除所有电费记录吗?")},
        {QStringLiteral("清空全部通讯录记录"), QStringLiteral("TForm8"),
         QStringLiteral("您真的要删除所有通讯记录吗?")},
    }};
    return items;
}

bool clearAll(records::RecordWindow& window, const QString& confirmation) {
    if (window.refuseChanges() || !platform::confirm(confirmation))
        return false;
    try {
        platform::AdoQuery& query = window.query();
        query.setSql(std::string());
        query.setSql("delete from (data)");
        query.execSql();
        query.setSql("select * from (data)");
        query.open();
        // The window's refresh, inside the block: a click on SX would show its
        // error in the error box, and clearing stays silent at every step.
        window.refresh();
        return true;
    } catch (const std::exception&) {
        // Silent by design: the table stays as the failed step left it.
        return false;
    }
}

} // namespace maintenance
