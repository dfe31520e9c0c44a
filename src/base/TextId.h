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
    SummarySheet = 34,
    ItemColumn = 35,
    StateColumn = 36,
    FileSaved = 37,
    SaveFailed = 38,
    FileOpened = 39,
    OpenFailed = 40,
    ScalingCoordinate = 41,
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
    Automatic = 174,
    StationButton = 175,
    StationTab = 176,
    StationSettingsTitle = 177,
    ArchiveFolder = 178,
    Browse = 179,
    ReportsCaption = 180,
    PdfReport = 181,
    WorksheetReport = 182,
    CsvReport = 183,
    StopAfterDownload = 184,
    StationLinkColumn = 185, // station list columns: link ... files
    StationIdColumn = 186,
    StationTypeColumn = 187,
    StationStateColumn = 188,
    StationSamplesColumn = 189,
    StationExcursionsColumn = 190,
    StationFilesColumn = 191,
    LinkUsb = 192,    // "USB %1"
    LinkSerial = 193, // "serial %1"
    StateIdentifying = 194,
    StateDownloading = 195, // "downloading %1 %"
    StateArchived = 196,
    StateAlreadyArchived = 197,
    StateFailed = 198, // "failed: %1"
    AutomaticOn = 199, // " Automatic: ... %1" (the folder)
    LoggerArchived = 200, // " %1: archived, %2 samples, %3 excursions."
    LoggerAlreadyArchived = 201,
    LoggerFailed = 202, // " %1: failed: %2"
    IndexUnavailable = 203, // " ... (%1) ..." (why)
    LoggerDownloading = 204,
    ChooseArchiveFolder = 205,
    Unplugged = 206,
};

constexpr int ToInt(TextId id) { return static_cast<int>(id); }
