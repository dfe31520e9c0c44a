#pragma once

// Names of the text-table ids the code asks for by itself. Captions that a
// layout table lists by number (summary rows, control texts) keep their
// numbers there.
enum class TextId : int {
    Ready = 0,
    SummaryTab = 1,
    DataTab = 2,
    Connected = 3,
    Disconnecting = 4,
    FirstRowCaption = 5, // caption of summary row i is FirstRowCaption + i
    Connecting = 25,
    Downloading = 26,
    Malfunctioning = 27,
    DownloadComplete = 28,
    DataSheet = 29,
    TemperatureColumn = 32,
    HumidityColumn = 33,
    SummarySheet = 34,
    ItemColumn = 35,
    StateColumn = 36,
    FileSaved = 37,
    SaveFailed = 38,
    FileOpened = 39,
    OpenFailed = 40,
    ScalingCoordinate = 41,
    StartTimeColumn = 53,
    StopTimeColumn = 54,
    NotStarted = 76,
    Recording = 77,
    DelayedStart = 78,
    SureToExit = 130,
    ClockSet = 131,
    ClockSetFailed = 132,
    DownloadFailed = 141,
    Linking = 142,
    Starting = 150,
    Shutting = 151,
    SaveSelection = 152,
    AreaSummaryTab = 153,
    AreaDataTab = 154,
    TimeOver = 155,
    MktCaption = 157,
    Saving = 160,
    NoLogger = 171,
    LimitsReversed = 172, // "%1: lower %2 is above upper %3"
    SelectionReversed = 173,
    // The mission archive's view and its settings.
    ArchiveButton = 200,
    ArchiveTitle = 201,
    ArchiveSettings = 202,
    ArchiveLoggerId = 203,
    ArchiveFrom = 204,
    ArchiveTo = 205,
    ArchiveWithAlarms = 206,
    ArchiveTotal = 207,       // "Missions: %1"
    ArchiveOpen = 208,
    ArchiveOverlay = 209,
    ArchiveClockTime = 210,
    ArchiveElapsedTime = 211,
    ArchiveRefresh = 212,
    ArchiveCannotOpen = 213,  // "... cannot be opened: %1"
    ArchiveNotIndexed = 214,  // after the save's own message: "%1" the reason
    ArchiveOverlayCount = 215, // "%1" the most missions
    ArchiveFileMissing = 216, // "%1" the path
    ArchiveNotOverlaid = 217, // "%1" the missions left out
    ArchiveOverlayHint = 218,
    ArchiveAddress = 219,
    ArchiveAddressHelp = 220, // "%1" the default archive
    ArchiveDefault = 221,
    ArchiveExcursions = 222,
    ArchiveFile = 223,
    ArchiveMissing = 224,
    ArchiveSamples = 225,
    ArchiveId = 226,
    ArchiveIn = 227,          // "Archive: %1"
    ArchiveAddressRefused = 228, // "%1" the reason
    Ok = 229,
    Cancel = 230,
};

constexpr int ToInt(TextId id) { return static_cast<int>(id); }
