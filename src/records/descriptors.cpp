#include "records/module_descriptor.h"

#include "records/module_storage.h"

namespace records {

namespace {
const QString Add = QStringLiteral("Add");
const QString Refresh = QStringLiteral("SX");
const QString Delete = QStringLiteral("Del");
} // namespace

const ModuleDescriptor& memoDescriptor() {
    static const ModuleDescriptor d = [] {
        ModuleDescriptor d;
        d.windowClass = QStringLiteral("TForm11");
        d.caption = QStringLiteral("备忘录");
        d.pageCaption = QStringLiteral("备忘管理");
        d.size = QSize(620, 520);
        d.databaseFile = QStringLiteral("备忘录.mdb");
        d.listQuery = QStringLiteral("Select 编号,标题,备注,时间 from data");
        d.columnWidths = {50, 150, 200, 100};
        d.boxes = {{"BiaoTi", "标题:", BoxKind::Line}, {"Beizhu", "备注:", BoxKind::Memo}};
        d.refreshClears = {"ID", "BiaoTi", "Beizhu"};
        d.addRequired = {"BiaoTi", "Beizhu"};
        d.addMessage = QStringLiteral("标题和备注不能为空!");
        d.addColumns = {{"标题", "BiaoTi"}, {"备注", "Beizhu"}};
        d.addClears = {"ID", "BiaoTi", "Beizhu"};
        d.editButton = QStringLiteral("Button1");
        d.editRequired = {"BiaoTi", "Beizhu"};
        d.editMessage = QStringLiteral("标题和内容不能为空.");
        d.editColumns = d.addColumns;
        d.editClears = {"ID", "BiaoTi", "Beizhu"};
        d.rowLoad = {{0, "ID"}, {1, "BiaoTi"}, {2, "Beizhu"}};
        d.buttonOrder = {Add, "Button1", Refresh, Delete};
        return d;
    }();
    return d;
}

const ModuleDescriptor& notepadDescriptor() {
    static const ModuleDescriptor d = [] {
        ModuleDescriptor d = memoDescriptor();
        d.windowClass = QStringLiteral("TForm4");
        d.caption = QStringLiteral("记事本");
        d.pageCaption = QStringLiteral("日记管理");
        d.databaseFile = QStringLiteral("记事本.mdb");
        d.columnWidths = {50, 100, 180, 100};
        d.boxes = {{"BiaoTi", "标题:", BoxKind::Line}, {"Beizhu", "内容:", BoxKind::Memo}};
        return d;
    }();
    return d;
}

const ModuleDescriptor& remittanceDescriptor() {
    static const ModuleDescriptor d = [] {
        ModuleDescriptor d;
        d.windowClass = QStringLiteral("TForm5");
        d.caption = QStringLiteral("汇款记录管理");
        d.pageCaption = QStringLiteral("汇款记录");
        d.size = QSize(760, 480);
        d.databaseFile = QStringLiteral("汇款记录.mdb");
        d.listQuery = QStringLiteral("Select 编号,金额,时间,备注 from data");
        d.columnWidths = {50, 60, 100, 500};
        d.countSuffix = QStringLiteral("条汇款记录");
        d.boxes = {{"Jiner", "金额:", BoxKind::Line}, {"Beizhu", "备注:", BoxKind::Line}};
        d.refreshClears = {"Jiner", "ID", "Beizhu"};
        d.addRequired = {"Jiner", "Beizhu"};
        d.addMessage = QStringLiteral("金额和备注不能为空!");
        d.addColumns = {{"金额", "Jiner"}, {"备注", "Beizhu"}};
        d.addClears = {"Jiner", "Beizhu"};
        d.editButton = QStringLiteral("Button1");
        d.editRequired = {"Jiner", "Beizhu"};
        d.editMessage = QStringLiteral("金额和备注不能为空.");
        d.editColumns = d.addColumns;
        d.editClears = {"ID", "Jiner", "Beizhu"};
        d.rowLoad = {{0, "ID"}, {1, "Jiner"}, {3, "Beizhu"}};
        d.wheel = WheelNavigation::AfterCreation;
        d.buttonOrder = {Add, "Button1", Delete, Refresh};
        d.buttonLayout = ButtonLayout::Row;
        return d;
    }();
    return d;
}

const ModuleDescriptor& staffLeaveDescriptor() {
    static const ModuleDescriptor d = [] {
        ModuleDescriptor d;
        d.windowClass = QStringLiteral("TForm6");
        d.caption = QStringLiteral("员工请假管理");
        d.pageCaption = QStringLiteral("员工请假记录");
        d.size = QSize(620, 480);
        d.databaseFile = QStringLiteral("员工请假记录.mdb");
        d.listQuery = QStringLiteral("Select 编号,姓名,时间,备注 from data");
        d.columnWidths = {50, 70, 70, 350};
        d.boxes = {{"YGName", "姓名:", BoxKind::Combo}, {"Beizhu", "备注:", BoxKind::Line}};
        d.hasIdBox = false;
        d.wordLists = {{"YGName", wordlists::StaffNames}};
        d.addRequired = {"YGName", "Beizhu"};
        d.addMessage = QStringLiteral("姓名和备注不能为空!");
        d.addColumns = {{"姓名", "YGName"}, {"备注", "Beizhu"}};
        d.addClears = {"YGName", "Beizhu"};
        d.creation = Creation::Guarded;
        d.buttonOrder = {Add, Delete, Refresh};
        return d;
    }();
    return d;
}

const ModuleDescriptor& salaryDescriptor() {
    static const ModuleDescriptor d = [] {
        ModuleDescriptor d;
        d.windowClass = QStringLiteral("TForm7");
        d.caption = QStringLiteral("员工工资管理");
        d.pageCaption = QStringLiteral("员工工资发放记录");
        d.size = QSize(680, 480);
        d.databaseFile = QStringLiteral("员工工资发放记录.mdb");
        d.listQuery = QStringLiteral("Select 编号,姓名,金额,时间,备注 from data");
        d.columnWidths = {50, 60, 60, 100, 350};
        d.boxes = {{"YGName", "姓名:", BoxKind::Combo},
                   {"Jiner", "金额:", BoxKind::Line},
                   {"Beizhu", "备注:", BoxKind::Line}};
        d.wordLists = {{"YGName", wordlists::StaffNames}};
        d.addRequired = {"YGName", "Jiner"};
        d.addMessage = QStringLiteral("姓名和金额不能为空!");
        d.addColumns = {{"姓名", "YGName"}, {"金额", "Jiner"}, {"备注", "Beizhu"}};
        d.addClears = {"YGName", "Beizhu", "Jiner"};
        d.editButton = QStringLiteral("edit");
        d.editRequired = {"YGName", "Jiner"};
        d.editMessage = QStringLiteral("姓名和金额不能为空!");
        d.editColumns = d.addColumns;
        d.editClears = {"ID", "Jiner", "YGName", "Beizhu"};
        d.rowLoad = {{0, "ID"}, {1, "YGName"}, {2, "Jiner"}, {4, "Beizhu"}};
        d.creation = Creation::Guarded;
        d.buttonOrder = {Add, "edit", Delete, Refresh};
        d.buttonLayout = ButtonLayout::Row;
        return d;
    }();
    return d;
}

const ModuleDescriptor& electricityDescriptor() {
    static const ModuleDescriptor d = [] {
        ModuleDescriptor d;
        d.windowClass = QStringLiteral("TForm9");
        d.caption = QStringLiteral("电费记录");
        d.pageCaption = QStringLiteral("电费记录");
        d.size = QSize(640, 520);
        d.databaseFile = QStringLiteral("电费记录.mdb");
        d.listQuery = QStringLiteral("Select 编号,金额,度数,备注,时间 from data");
        d.columnWidths = {50, 50, 50, 350, 100};
        d.boxes = {{"JinEr", "金额:", BoxKind::Line},
                   {"DuShu", "度数:", BoxKind::Line},
                   {"Beizhu", "备注:", BoxKind::Memo}};
        d.addRequired = {"JinEr", "DuShu"};
        d.addMessage = QStringLiteral("金额和度数不能为空!");
        d.addColumns = {{"金额", "JinEr"}, {"度数", "DuShu"}, {"备注", "Beizhu"}};
        d.addClears = {"ID", "JinEr", "DuShu", "Beizhu"};
        d.editButton = QStringLiteral("Button1");
        d.editRequired = {"JinEr", "DuShu"};
        d.editMessage = QStringLiteral("金额和度数不能为空.");
        d.editColumns = d.addColumns;
        d.editClears = {"ID", "JinEr", "DuShu", "Beizhu"};
        d.rowLoad = {{0, "ID"}, {1, "JinEr"}, {2, "DuShu"}, {3, "Beizhu"}};
        d.buttonOrder = {Add, "Button1", Refresh, Delete};
        return d;
    }();
    return d;
}

const ModuleDescriptor& salesDescriptor() {
    static const ModuleDescriptor d = [] {
        ModuleDescriptor d;
        d.windowClass = QStringLiteral("TForm2");
        d.caption = QStringLiteral("销售记录管理");
        d.pageCaption = QStringLiteral("销售记录");
        d.size = QSize(780, 560);
        d.databaseFile = QStringLiteral("销售记录.mdb");
        d.listQuery =
            QStringLiteral("Select 编号,商品,金额,时间,出货人,备注 from data ORDER BY 编号 desc");
        d.columnWidths = {50, 100, 60, 100, 100, 280};
        d.countSuffix = QStringLiteral("个销售记录");
        d.boxes = {{"ShangPin", "商品:", BoxKind::Combo},
                   {"JinEr", "金额:", BoxKind::Combo},
                   {"YGname", "出货人:", BoxKind::Combo},
                   {"Beizhu", "备注:", BoxKind::Line}};
        d.wordLists = {{"YGname", wordlists::StaffNames},
                       {"ShangPin", wordlists::GoodsNames},
                       {"JinEr", wordlists::Amounts}};
        d.refreshClears = {"ID", "ShangPin", "YGname", "JinEr", "Beizhu"};
        d.addRequired = {"ShangPin", "JinEr"};
        d.addMessage = QStringLiteral("商品和金额不能为空!");
        d.addColumns = {
            {"商品", "ShangPin"}, {"金额", "JinEr"}, {"出货人", "YGname"}, {"备注", "Beizhu"}};
        d.addClears = {"ShangPin", "JinEr", "YGname", "Beizhu"};
        d.editButton = QStringLiteral("Button10");
        d.editRequired = {"ShangPin", "JinEr"};
        d.editMessage = QStringLiteral("商品和金额不能为空.");
        d.editColumns = d.addColumns;
        d.editClears = {"ID", "ShangPin", "JinEr", "YGname", "Beizhu"};
        d.rowLoad = {{0, "ID"}, {1, "ShangPin"}, {2, "JinEr"}, {4, "YGname"}, {5, "Beizhu"}};
        d.creation = Creation::Guarded;
        d.wheel = WheelNavigation::Always;
        d.gridOnPage = true;
        d.statusPanels = {300, 200};
        d.buttonOrder = {Add, "Button10", Delete, Refresh};
        d.buttonLayout = ButtonLayout::Row;
        return d;
    }();
    return d;
}

const ModuleDescriptor& purchaseDescriptor() {
    static const ModuleDescriptor d = [] {
        ModuleDescriptor d;
        d.windowClass = QStringLiteral("TForm3");
        d.caption = QStringLiteral("进货记录管理");
        d.pageCaption = QStringLiteral("进货记录");
        d.size = QSize(760, 560);
        d.databaseFile = QStringLiteral("进货记录.mdb");
        d.listQuery = QStringLiteral(
            "Select 编号,商品,数量,进价,总价,时间,备注 from data ORDER BY 编号 desc");
        d.columnWidths = {50, 100, 60, 60, 60, 100, 200};
        d.countSuffix = QStringLiteral("个进货记录");
        d.boxes = {{"ShangPin", "商品:", BoxKind::Combo},
                   {"ShuLiang", "数量:", BoxKind::Combo},
                   {"Jinjia", "进价:", BoxKind::Combo},
                   {"Zongjia", "总价:", BoxKind::Combo},
                   {"Beizhu", "备注:", BoxKind::MemoVert}};
        // ComboBox_Search is the purchase window's own search box.
        d.wordLists = {{"ShangPin", wordlists::GoodsNames},
                       {"ComboBox_Search", wordlists::GoodsNames}};
        d.refreshClears = {"ID", "ShangPin", "ShuLiang", "Jinjia", "Zongjia"};
        d.addRequired = {"ShangPin", "ShuLiang", "Jinjia", "Zongjia"};
        d.addMessage = QStringLiteral("商品和数量不能为空!");
        d.addColumns = {{"商品", "ShangPin"},
                        {"数量", "ShuLiang"},
                        {"进价", "Jinjia"},
                        {"总价", "Zongjia"},
                        {"备注", "Beizhu"}};
        d.addClears = {"ShangPin", "ShuLiang", "Jinjia", "Zongjia"};
        d.editButton = QStringLiteral("Button1");
        d.editRequired = {"ShangPin", "ShuLiang", "Jinjia", "Zongjia"};
        d.editMessage = QStringLiteral("商品和数量不能为空!");
        d.editColumns = d.addColumns;
        d.editClears = {"ID", "ShangPin", "ShuLiang", "Jinjia", "Zongjia", "Beizhu"};
        d.rowLoad = {{0, "ID"},     {1, "ShangPin"}, {2, "ShuLiang"},
                     {3, "Jinjia"}, {4, "Zongjia"},  {6, "Beizhu"}};
        d.creation = Creation::Guarded;
        d.buttonOrder = {Add, "Button1", Refresh, Delete};
        return d;
    }();
    return d;
}

const ModuleDescriptor& addressBookDescriptor() {
    static const ModuleDescriptor d = [] {
        ModuleDescriptor d;
        d.windowClass = QStringLiteral("TForm8");
        d.caption = QStringLiteral("客户通讯录");
        d.pageCaption = QStringLiteral("客户通讯录管理");
        d.size = QSize(820, 560);
        d.databaseFile = QStringLiteral("客户通讯录.mdb");
        d.listQuery = QStringLiteral("Select 编号,姓名,电话,地址,时间,备注 from data");
        d.columnWidths = {50, 60, 100, 200, 90, 300};
        d.boxes = {{"XingMing", "姓名:", BoxKind::Line},
                   {"DianHua", "电话:", BoxKind::Line},
                   {"DiZhi", "地址:", BoxKind::Line},
                   {"Beizhu", "备注:", BoxKind::Line}};
        d.addRequired = {"XingMing", "DianHua"};
        d.addMessage = QStringLiteral("姓名和电话不能为空!");
        d.addColumns = {
            {"姓名", "XingMing"}, {"电话", "DianHua"}, {"地址", "DiZhi"}, {"备注", "Beizhu"}};
        d.addClears = {"XingMing", "DianHua", "DiZhi", "Beizhu"};
        d.editButton = QStringLiteral("Button2");
        d.editRequired = {"XingMing", "DianHua", "DiZhi"};
        d.editMessage = QStringLiteral("姓名和电话不能为空!");
        d.editColumns = d.addColumns;
        d.editClears = {"ID", "XingMing", "DianHua", "DiZhi", "Beizhu"};
        d.rowLoad = {{0, "ID"}, {1, "XingMing"}, {2, "DianHua"}, {3, "DiZhi"}, {5, "Beizhu"}};
        d.buttonOrder = {Add, "Button2", Refresh, Delete};
        d.buttonLayout = ButtonLayout::Row;
        d.entryGroupBox = true;
        return d;
    }();
    return d;
}

} // namespace records
