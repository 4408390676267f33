// cIni: the settings and profile files' access class over the INI store. It holds a file
// name and a current section; every call goes to the file (nothing is cached).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "settings/settings_keys.h"

namespace vendil {

class cIni {
 public:
  const std::string& FileName() const { return fileName_; }
  void FileName(std::string strNewFileName) { fileName_ = std::move(strNewFileName); }
  const std::string& Section() const { return section_; }
  void Section(std::string strNewValue) { section_ = std::move(strNewValue); }

  std::string GetString(const std::string& strKey, const std::string& strDefault = "") const;
  int32_t GetValue(const std::string& strKey, int32_t lngDefault = 0) const;
  bool SetString(const std::string& strKey, const std::string& strValue) const;
  bool SetValue(const std::string& strKey, int32_t lngValue) const;
  // `strKey` is a whole section block: lines each ended by NUL, then one more NUL.
  bool SetAllKey(const std::string& strKey) const;
  bool DeleteKey(const std::string& strKey) const;
  bool DeleteSection() const;
  int32_t GetAllSection(std::vector<std::string>& names) const;
  std::string GetProfileSection(const std::string& strSection) const;
  int32_t GetAllKey(std::vector<std::string>& lines) const;
  int32_t GetAllKeyEx(std::vector<std::array<std::string, 2>>& pairs) const;
  std::string GetMultiLine(const std::string& strSection, const std::string& strDefault = "") const;
  bool SetMultiLine(const std::string& strSection, const std::string& strValue) const;
  bool Flush() const;

 private:
  std::string fileName_;
  std::string section_;
};

// A key of the settings table read from or written to `file`, in the key's own section
// (the section `file` points at is left as it was).
std::string ReadSetting(const cIni& file, const TextSetting& setting);
int32_t ReadSetting(const cIni& file, const NumberSetting& setting);
int32_t ReadSetting(const cIni& file, const KeyName& setting, int32_t current);
std::string ReadSetting(const cIni& file, const KeyName& setting, const std::string& current);
bool WriteSetting(const cIni& file, const TextSetting& setting, const std::string& value);
bool WriteSetting(const cIni& file, const NumberSetting& setting, int32_t value);
bool WriteSetting(const cIni& file, const KeyName& setting, int32_t value);
bool WriteSetting(const cIni& file, const KeyName& setting, const std::string& value);

// The part of a path up to and including its last "\" or "/"; empty when it has neither.
std::string GetParentFolder(const std::string& strPath);

// The settings file: the program folder + "/vendil.ini", or the user's configuration folder
// when the program folder is not writable. `programFolder` has no closing slash.
std::string SettingsFilePath(const std::string& programFolder);

}  // namespace vendil
