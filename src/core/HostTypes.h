#pragma once
// The host's enumerations that cross into the library.

// Kind and icon of a log-window line.
enum LogType : int {
    LogType_PenResult = 0,
    LogType_Failure = 6,
    LogType_Base = 9,
    LogType_Weather = 10,
    LogType_WebSearch = 11,
    LogType_Train = 12,
    LogType_Flight = 13,
    LogType_Video = 14,
    LogType_Music = 15,
    LogType_Poetry = 16,
    LogType_Answer = 17,
    LogType_Map = 18,
    LogType_Shopping = 19,
    LogType_Joke = 20,
    LogType_Hotel = 21,
    LogType_LocalLife = 22,
    LogType_Website = 23,
    LogType_Recipe = 24,
    LogType_Parcel = 25,
    LogType_Stock = 26,
    LogType_News = 27,
    LogType_NotCarriedOut = 28,
    LogType_Translation = 29,
    LogType_Application = 30,
    LogType_MainMenuWord = 33,
    LogType_SlideShow = 34,
    LogType_Word = 35,
    LogType_Excel = 36,
    LogType_OfficeTemplate = 37,
    LogType_Screenshot = 38,
    LogType_AiEntry = 49,
};

enum VeTrayParams : int { VeTray_Show = 1 };
enum VeInteractiveParams : int { VeInteractive_Answer = 2, VeInteractive_Reset = 3 };

// Pages of the host's main window.
enum MainMenuType : int {
    MainMenu_Log = 14,
    MainMenu_16 = 16,
    MainMenu_RecordToText = 19,
    MainMenu_UserCommands = 20,
    MainMenu_HotWords = 21,
};

enum MacForm : int { MacForm_Plain = 0 };

// Only the old generation (0) is told apart.
enum WindowsVersion : int { WindowsVersion_Old = 0, WindowsVersion_Current = 10 };

enum VoiceSource : int { VoiceSource_Mouse = 0, VoiceSource_Pen = 1 };
