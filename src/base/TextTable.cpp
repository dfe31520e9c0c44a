#include "base/TextTable.h"

#include <array>
#include <cstdlib>
#include <cstring>

namespace {

struct TextEntry {
    int id;
    const char* english;
    const char* chinese;
};

// Every text the program shows, by id. Leading and trailing blanks matter.
constexpr TextEntry kTexts[] = {
    {0, " Ready...", " 就绪..."},
    {1, "Summary", "概要"},
    {2, "Data", "数据"},
    {3, " Instrument has connected.", " 记录仪已接入."},
    {4, " Instrument disconnected.", " 记录仪已断开."},
    {5, " Serial Number:", " ID序列号:"},
    {6, " Start Time:", " 开始时间:"},
    {7, " Stop Time:", " 结束时间:"},
    {8, " Sampling Interval:", " 记录间隔:"},
    {9, " Quantity of Data:", " 数据数量:"},
    {10, " Max Temp.:", " 最高温度:"},
    {11, " Min Temp.:", " 最低温度:"},
    {12, " Avg Temp.:", " 平均温度:"},
    {13, " Upper Limit Temp.:", " 温度上限:"},
    {14, " Lower Limit Temp.:", " 温度下限:"},
    {15, " Max Humi.:", " 最高湿度:"},
    {16, " Min Humi.:", " 最低湿度:"},
    {17, " Avg Humi.:", " 平均湿度:"},
    {18, " Upper Limit Humi.:", " 湿度上限:"},
    {19, " Lower Limit Humi.:", " 湿度下限:"},
    {20, " Description:", " 描述:"},
    {21, "", ""},
    {22, "", ""},
    {23, "", ""},
    {24, "", ""},
    {25, " Connecting instrument...", " 正在连接记录仪..."},
    {26, " Downloading data...", " 正在下载数据..."},
    {27, " Instrument Malfunctioning...", " 记录仪故障..."},
    {28, " Data download is complete.", " 数据下载完成."},
    {29, "Data", "数据"},
    {30, "Num", "序号"},
    {31, "RecordTime", "时间"},
    {32, "Temperature", "温度"},
    {33, "Humidity", "湿度"},
    {34, "Summary", "概要"},
    {35, "Item", "项目"},
    {36, "State", "值"},
    {37, " File saved: ", " 文件已保存: "},
    {38, " Could not save the file: ", " 文件保存失败: "},
    {39, " File opened: ", " 文件已打开: "},
    {40, " Could not open the file: ", " 文件打开失败: "},
    {41, "Scaling data \ncoordinate", "缩放数据\n坐标"},
    {42, "Preview Setting:", "预览设置:"},
    {43, "Preview", "预览"},
    {44, "Print Pages:", "打印页面:"},
    {45, "Curves", "曲线"},
    {46, "Text", "文本"},
    {47, "Start Time:", "开始时间:"},
    {48, "End Time:", "结束时间:"},
    {49, "Print", "打印"},
    {50, "Exit", "退出"},
    {51, "Description", "描述"},
    {52, " ID", "ID序列号"},
    {53, "Start Time", "开始时间"},
    {54, "Stop Time", "结束时间"},
    {55, "Interval", "记录间隔"},
    {56, "Quantity", "数据数量"},
    {57, "Temp Average", "平均温度"},
    {58, "Temp Alarm", "温度报警"},
    {59, "Humi Average", "平均湿度"},
    {60, "Humi Alarm", "湿度报警"},
    {61, "Description", "描述"},
    {62, "Temp Record", "温度记录"},
    {63, "Temp Record", "温度记录"},
    {64, "Temp Record", "温度记录"},
    {65, "Temp&Humi Record", "温湿度记录"},
    {66, "Status:", "状态:"},
    {67, "Start Time:", "开始时间:"},
    {68, "Sample Interval:", "记录间隔:"},
    {69, "Temp Alarm:", "温度报警:"},
    {70, "Temperature", "温度"},
    {71, "Humi Alarm:", "湿度报警:"},
    {72, "Humidity", "湿度"},
    {73, "Start", "启动"},
    {74, "Stop", "停止"},
    {75, "Exit", "退出"},
    {76, "Instrument not started", "记录仪未启动"},
    {77, "Instrument is recording", "记录仪已启动"},
    {78, "Instrument will start later", "记录仪将延时启动"},
    {79, "Description Setting:", "描述设置:"},
    {80, "Start the logger with these settings?", "确定以这些设置启动记录仪吗？"},
    {81, "Stop the logger's recording?", "确定停止记录仪的记录吗？"},
    {100, "The start time is after the end time.", "开始时间晚于结束时间。"},
    {101, "Invalid alarm limits!", "报警设置错误!"},
    {102, "The description was not written!", "描述未写入!"},
    {130, "The downloaded samples have not been saved. Exit anyway?", "下载的数据尚未保存。仍要退出吗？"},
    {131, "Time calibration has been completed", "时间校准完成"},
    {132, "Time calibration failed", "时间校准失败"},
    {141, "Fail to download data", "数据下载失败"},
    {142, "Linking...", "正在连接..."},
    {143, "Battery low,\n please charge!", "电量不足,\n请充电！"},
    {150, "Starting...", "正在启动..."},
    {151, "Stopping...", "正在停止..."},
    {152, "Save \nSelection", "保存\n区域"},
    {153, "Area Summary", "区域概要"},
    {154, "Area Data", "区域数据"},
    {155, "Time Over", "时间超出"},
    {156, "MKT", "平均动力学温度"},
    {157, " Mean Kinetic Temp.:", " 平均动力学温度:"},
    {160, " Saving file... ", " 正在保存文件...... "},
    {161, "Start Time", "开始时间"},
    {162, "End Time", "结束时间"},
    {163, " Sample Span", " 记录间隔"},
    {164, "Channel Name", "通道名称"},
    {165, " Max.", " 最大值"},
    {166, " Min.", " 最小值"},
    {167, " Avg.", " 平均值"},
    {168, " Upper Limit", " 上限"},
    {169, " Lower Limit", " 下限"},
    {170, "Measure Time", "测量时间"},
    {171, " No logger is connected: plug one in (a serial logger through a CH341 USB-serial port).",
     " 未连接记录仪: 请插入记录仪 (串口记录仪经 CH341 USB 串口连接)."},
    {172, "%1: lower %2 is above upper %3", "%1: 下限 %2 高于上限 %3"},
    {173, " Selection refused: the end time is before the start time.", " 区域未选定: 结束时间早于开始时间."},
    {174, "Automatic", "自动"},
    {175, "Station...", "接收站..."},
    {176, "Station", "接收站"},
    {177, "Station Settings", "接收站设置"},
    {178, "Archive folder:", "归档文件夹:"},
    {179, "Browse...", "浏览..."},
    {180, "Reports written beside each data file:", "随每个数据文件写入的报告:"},
    {181, "PDF report", "PDF 报告"},
    {182, "Worksheet (.xlsx)", "Excel 工作表 (.xlsx)"},
    {183, "CSV file", "CSV 文件"},
    {184, "Stop the logger's recording after a complete download", "完整下载后停止记录仪的记录"},
    {185, "Link", "连接"},
    {186, "ID", "ID序列号"},
    {187, "Type", "类型"},
    {188, "State", "状态"},
    {189, "Samples", "数据数量"},
    {190, "Excursions", "超限次数"},
    {191, "Files", "文件"},
    {192, "USB %1", "USB %1"},
    {193, "serial %1", "串口 %1"},
    {194, "identifying", "正在识别"},
    {195, "downloading %1 %", "正在下载 %1 %"},
    {196, "archived", "已归档"},
    {197, "already archived", "此前已归档"},
    {198, "failed: %1", "失败: %1"},
    {199, " Automatic: every logger plugged in is downloaded and archived in %1", " 自动: 每个接入的记录仪都将被下载并归档到 %1"},
    {200, " %1: archived, %2 samples, %3 excursions.", " %1: 已归档, %2 个数据, %3 次超限."},
    {201, " %1: already archived.", " %1: 此前已归档."},
    {202, " %1: failed: %2", " %1: 失败: %2"},
    {203, " The archive index cannot be opened (%1); missions are filed without it.", " 无法打开档案索引 (%1); 数据文件照常归档, 但不编入索引."},
    {204, " %1: downloading...", " %1: 正在下载..."},
    {205, "Choose the archive folder", "选择归档文件夹"},
    {206, "unplugged", "已拔出"},
    {207, "Archive", "档案"},
    {208, "Mission Archive", "记录档案"},
    {209, "Settings...", "设置..."},
    {210, "Logger ID:", "记录仪ID:"},
    {211, "From:", "从:"},
    {212, "To:", "到:"},
    {213, "With alarms", "有报警"},
    {214, "Missions: %1", "记录数: %1"},
    {215, "Open", "打开"},
    {216, "Overlay", "叠加"},
    {217, "Clock time", "时钟时间"},
    {218, "Elapsed time", "经过时间"},
    {219, "Refresh", "刷新"},
    {220, "The archive cannot be opened: %1", "无法打开档案: %1"},
    {221, "  Not added to the archive: %1", "  未加入档案: %1"},
    {222, "Select 1 to %1 missions to overlay.", "请选择 1 至 %1 条记录进行叠加."},
    {223, " The data file is missing: %1", " 数据文件不存在: %1"},
    {224, "Not overlaid: %1", "未叠加: %1"},
    {225, "Select missions in the table and press Overlay.", "请在表格中选择记录, 然后按“叠加”."},
    {226, "Archive address:", "档案地址:"},
    {227, "Leave it empty for the archive on this computer:\n%1\nor give a SQLite file, or "
          "postgresql://USER@HOST[:PORT]/DB for an archive shared between stations\n"
          "(the password comes from ~/.pgpass, never from here).",
     "留空则使用本机档案:\n%1\n或填写 SQLite 文件, 或多台工作站共用档案的 "
     "postgresql://用户@主机[:端口]/数据库\n(密码取自 ~/.pgpass, 不在此填写)."},
    {228, "Default", "默认"},
    {229, "Excursions", "超限次数"},
    {230, "File", "文件"},
    {231, " (missing)", " (文件不存在)"},
    {232, "Samples", "数据数量"},
    {233, "ID", "ID序列号"},
    {234, "Archive: %1", "档案: %1"},
    {235, "The archive address is not valid: %1", "档案地址无效: %1"},
    {236, "OK", "确定"},
    {237, "Cancel", "取消"},
    // Ids 240 on: the window's banner, dialog titles, progress and what was done.
    {240, "Halvern Software TH", "哈尔文温湿度软件"},
    {241, "Temperature & humidity data logger manager", "温度与湿度数据记录仪管理程序"},
    {242, "Logger Settings", "记录仪设置"},
    {243, "Print Preview", "打印预览"},
    {244, "Not printed: ", "未打印: "},
    {245, "%1 % · %2 of %3 samples", "%1 % · 已接收 %2 / %3 个数据"},
    {246, " Printed 1 page to %1.", " 已打印 1 页到 %1."},
    {247, " Printed %1 pages to %2.", " 已打印 %1 页到 %2."},
    {248, " Started %1: every %2 from %3.", " 已启动 %1: 每 %2 记录一次, 自 %3 起."},
    {249, "%1 min", "%1 分钟"},
    {250, "%1 h", "%1 小时"},
    {251, "%1 h %2 min", "%1 小时 %2 分钟"},
    {252, "The logger holds 1 sample that has not been downloaded. Starting a new mission erases it.",
     "记录仪中有 1 个数据尚未下载。启动新的记录将清除它。"},
    {253, "The logger holds %1 samples that have not been downloaded. Starting a new mission erases them.",
     "记录仪中有 %1 个数据尚未下载。启动新的记录将清除这些数据。"},
    {254, "Battery: full", "电池: 电量充足"},
    {255, "Battery: good", "电池: 电量良好"},
    {256, "Battery: low", "电池: 电量低"},
    {257, "Battery: very low, please charge", "电池: 电量很低, 请充电"},
    {258, "Battery: no level (no logger linked)", "电池: 无电量信息 (未连接记录仪)"},
    {259, "Battery: this logger does not report its level", "电池: 此记录仪不报告电量"},
    {260, "This logger keeps no description.", "此记录仪不保存描述。"},
    {261, "The logger's description could not be read.", "未能读取记录仪的描述。"},
    {262, "This logger takes only the sample interval: it starts at once, and its description and alarm limits cannot be set.",
     "此记录仪只接受记录间隔: 它立即启动, 其描述和报警上下限无法设置。"},
    {263, "stored: %1", "存储为: %1"},
    {264, "not a number", "不是数字"},
    {265, "out of range", "超出范围"},
    {266, "Halvern File (*.tavo)", "数据文件 (*.tavo)"},
    {267, "WorkSheet Files (*.xlsx)", "工作表文件 (*.xlsx)"},
    {268, "PDF File (*.pdf)", "PDF 文件 (*.pdf)"},
    {269, "CSV File (*.csv)", "CSV 文件 (*.csv)"},
    {270, "Halvern Files (*.tavo)", "数据文件 (*.tavo)"},
    {271, "Battery: not read yet", "电池: 尚未读取电量"},
    {272, "Trail", "审计记录"},
    {273, "Seq", "序号"},
    {274, "Time", "时间"},
    {275, "User", "用户"},
    {276, "Host", "主机"},
    {277, "Action", "操作"},
    {278, "Logger", "记录仪"},
    {279, "Detail", "详情"},
    {280, "Chain intact: %1 entries", "审计链完整: %1 条"},
    {281, "Chain broken at entry %1 (%2)", "审计链在第 %1 条处损坏 (%2)"},
    {282, "Trail of %1 (entries: %2)", "%1 的审计记录 (%2 条)"},
    {283, "Trail of %1 from %2 to %3 (entries: %4)", "%1 自 %2 至 %3 的审计记录 (%4 条)"},
    {284, "now", "现在"},
    {285, "Select a mission or type a logger ID, then press Trail.", "请选择一条记录或输入记录仪ID, 然后按“审计记录”."},
    {286, "The trail cannot be read: %1", "无法读取审计记录: %1"},
    {287, "Temperature %1", "温度 %1"},
    {288, "Humidity %1", "湿度 %1"},
};

const TextEntry* Lookup(int id)
{
    static const auto table = [] {
        std::array<const TextEntry*, TEXT_COUNT> byId{};
        for (const TextEntry& e : kTexts)
            byId[e.id] = &e;
        return byId;
    }();
    if (id < 0 || id >= TEXT_COUNT)
        return nullptr;
    return table[id];
}

} // namespace

QString GetText(int id, std::uint16_t language)
{
    const TextEntry* e = Lookup(id);
    if (!e)
        return {};
    return QString::fromUtf8(language == LANG_CHINESE ? e->chinese : e->english);
}

std::uint16_t LanguageFromLocale(const char* lcAll, const char* lcMessages, const char* lang)
{
    for (const char* value : {lcAll, lcMessages, lang})
        if (value && *value)
            return std::strncmp(value, "zh", 2) == 0 ? LANG_CHINESE : 0;
    return 0;
}

std::uint16_t LanguageFromEnvironment()
{
    return LanguageFromLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

bool LanguageFromName(const QString& name, std::uint16_t& language, QString& error)
{
    if (name == QLatin1String("en")) {
        language = 0;
        return true;
    }
    if (name == QLatin1String("zh")) {
        language = LANG_CHINESE;
        return true;
    }
    error = QStringLiteral("--lang must be en or zh, not '%1'").arg(name);
    return false;
}

bool ChooseLanguage(bool optionSet, const QString& optionValue, std::uint16_t& language, QString& error)
{
    if (optionSet)
        return LanguageFromName(optionValue, language, error);
    language = LanguageFromEnvironment();
    return true;
}
