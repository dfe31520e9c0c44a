#pragma once

// Control ids of the main dialog, which lays all of them out and maps the
// workflow's commands to the buttons among them.
enum ControlId : int {
    IDCANCEL = 2,
    IDC_BANNER = 1001,
    IDC_UNIT_C = 1002,
    IDC_UNIT_F = 1003,
    IDC_DOWNLOAD = 1004,
    IDC_SAVE = 1005,
    IDC_OPEN = 1006,
    IDC_PRINT = 1007,
    IDC_START_SETTING = 1008,
    IDC_TABS = 1011,
    IDC_PROGRESS = 1015,
    IDC_BATTERY = 1016,
    IDC_STATUS = 1019,
    IDC_GRAPH_FRAME = 1022,
    IDC_CALIBRATE = 1129,
    IDC_UNIT_GROUP = 1130,
    IDC_LOGGER_CLOCK = 1134,
    IDC_RUN_STATE = 1135,
    IDC_AUTOMATIC = 1136,
    IDC_STATION_SETTINGS = 1137,
    IDC_ARCHIVE = 1140,
};
