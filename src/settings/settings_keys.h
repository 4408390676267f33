// Every key of the settings file and of ".nlc" profiles, declared once with its section and
// the value a first start (or a file without the key) gives it. Loading, saving, the first
// start and the profiles all read this table. The spellings are the file format's own
// (peers and older files read them) and stay as they are.
#pragma once

#include <array>
#include <cstdint>

namespace vendil {

struct TextSetting {
  const char* section;
  const char* key;
  const char* fallback;
};

struct NumberSetting {
  const char* section;
  const char* key;
  int32_t fallback;
};

// A key whose fallback is the value the program holds when it is read (the Internet
// options keep their defaults in InternetOptions, where the HTTP control takes them).
struct KeyName {
  const char* section;
  const char* key;
};

namespace setting {

// A profile is recognised by its version key.
inline constexpr TextSetting VersionMajor{"Version", "Major", ""};
// When a new-links check last stored what it found.
inline constexpr TextSetting LastCheckedDate{"Version", "LastCheckedDate", ""};

inline constexpr TextSetting Url{"General", "Url", ""};
inline constexpr TextSetting Folder{"General", "Folder", ""};
inline constexpr TextSetting Mask{"General", "Mask", "*"};
// The folders the save dialogs and the new-links dialogs opened in last.
inline constexpr TextSetting SaveFolder{"General", "SaveFolder", ""};
inline constexpr TextSetting NewLinksFolder{"General", "NewLinksFolder", ""};

inline constexpr NumberSetting UseBriefcaseDirectory{"Options", "UseBriefcaseDirectory", 0};
inline constexpr NumberSetting SearchDifferentServers{"Options", "SearchDifferentServers", 0};
inline constexpr NumberSetting SearchUpperDirectories{"Options", "SearchUpperDirectories", 0};
inline constexpr NumberSetting SearchLebel{"Options", "SearchLebel", 0};
inline constexpr NumberSetting SearchTags{"Options", "SearchTags", 1};
inline constexpr TextSetting CustomTags{"Options", "CustomTags", ""};
inline constexpr NumberSetting OnlyUseYBC{"Options", "OnlyUseYBC", 0};
inline constexpr TextSetting AddUrlScript{"Options", "AddUrlScript", ""};
inline constexpr TextSetting UrlFilter{"Options", "UrlFilter", ""};
inline constexpr TextSetting ContentType{"Options", "ContentType", ""};

// The main window's place and size in twips.
inline constexpr NumberSetting WindowLeft{"Window", "Left", 0};
inline constexpr NumberSetting WindowTop{"Window", "Top", 0};
inline constexpr NumberSetting WindowWidth{"Window", "Width", 7000};
inline constexpr NumberSetting WindowHeight{"Window", "Height", 5000};

// The list's column widths in twips, in the order of the columns: the seven of every row,
// then what a check of the links learnt.
inline constexpr int kColumnCount = 10;
inline constexpr std::array<NumberSetting, kColumnCount> ColumnWidths{{
    {"Column", "FileName", 1440},
    {"Column", "Url", 3000},
    {"Column", "Referer", 3000},
    {"Column", "Title", 1440},
    {"Column", "Folder", 1440},
    {"Column", "DownloadFolder", 1440},
    {"Column", "Depth", 500},
    {"Column", "Size", 1000},
    {"Column", "Type", 1800},
    {"Column", "State", 2000},
}};

// The start page window. Its place falls back to the right of the main window, its height
// to the main window's: only its width has a fixed first value.
inline constexpr KeyName StartPageLeft{"AdWindow", "Left"};
inline constexpr KeyName StartPageTop{"AdWindow", "Top"};
inline constexpr NumberSetting StartPageWidth{"AdWindow", "Width", 5400};
inline constexpr KeyName StartPageHeight{"AdWindow", "Height"};

inline constexpr KeyName Connections{"Internet", "Connections"};
inline constexpr KeyName Delay{"Internet", "Delay"};
inline constexpr KeyName ProxyMode{"Internet", "ProxyMode"};
inline constexpr KeyName ProxyHost{"Internet", "ProxyHost"};
inline constexpr KeyName ProxyPort{"Internet", "ProxyPort"};
inline constexpr KeyName ProxyUser{"Internet", "ProxyUser"};
inline constexpr KeyName ProxyPassword{"Internet", "ProxyPassword"};
inline constexpr KeyName ConnectTimeout{"Internet", "ConnectTimeout"};
inline constexpr KeyName TotalTimeout{"Internet", "TotalTimeout"};
inline constexpr KeyName Retries{"Internet", "Retries"};

inline constexpr TextSetting Aria2RpcUrl{"aria2", "RpcUrl", "http://127.0.0.1:6800/jsonrpc"};
inline constexpr TextSetting Aria2Secret{"aria2", "Secret", ""};

// A Click'n'Load listener's address.
inline constexpr TextSetting ClickNLoadUrl{"ClickNLoad", "Url", "http://127.0.0.1:9666"};

inline constexpr TextSetting SignInId{"SignIn", "ID", ""};
inline constexpr TextSetting SignInPassword{"SignIn", "Password", ""};

inline constexpr TextSetting AutomationRecordFile{"Automation", "RecordFile", ""};
inline constexpr TextSetting IrvineQueueFolder{"Automation", "IrvineQueueFolder", "/Default"};

// A profile's stored links: one key per link.
inline constexpr char kLinksSection[] = "Links";

}  // namespace setting
}  // namespace vendil
