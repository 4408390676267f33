// cRegistory: a registry key's values and subkeys, over a file-backed store of our own with
// one file per predefined root key. Each call opens the store, does its work and is done.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vendil {

// The predefined root key handles.
inline constexpr int32_t kHkeyClassesRoot = static_cast<int32_t>(0x80000000u);
inline constexpr int32_t kHkeyCurrentUser = static_cast<int32_t>(0x80000001u);
inline constexpr int32_t kHkeyLocalMachine = static_cast<int32_t>(0x80000002u);
inline constexpr int32_t kHkeyUsers = static_cast<int32_t>(0x80000003u);
inline constexpr int32_t kHkeyPerformanceData = static_cast<int32_t>(0x80000004u);
inline constexpr int32_t kHkeyCurrentConfig = static_cast<int32_t>(0x80000005u);
inline constexpr int32_t kHkeyDynData = static_cast<int32_t>(0x80000006u);

// Value types as stored.
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegBinary = 3;
inline constexpr uint32_t kRegDword = 4;

class cRegistory {
 public:
  int32_t RegKey() const { return regKey_; }
  void RegKey(int32_t enmNewValue) { regKey_ = enmNewValue; }
  const std::string& SubKey() const { return subKey_; }
  void SubKey(std::string strNewValue) { subKey_ = std::move(strNewValue); }

  bool IsThereKey() const;
  int32_t EnumValueName(std::vector<std::string>& strlpEnumValueName) const;
  int32_t EnumSubKey(std::vector<std::string>& strlpEnumKey) const;
  bool DeleteSubKey(const std::string& strSubKey) const;
  bool DeleteValueName(const std::string& strValueName) const;
  std::string GetString(const std::string& strValueName, const std::string& strDefault = "") const;
  bool SetString(const std::string& strValueName, const std::string& strNewValue) const;
  int32_t GetDWORD(const std::string& strValueName, int32_t lngDefault = 0) const;
  bool SetDWORD(const std::string& strValueName, int32_t lngNewValue) const;
  int32_t GetBinary(const std::string& strValueName, std::vector<uint8_t>& bytValue) const;
  bool SetBinary(const std::string& strValueName, const std::vector<uint8_t>& bytValue,
                 int32_t lngValueLen) const;

  // The folder of the store's files: the one set here, else $VENDIL_REGISTRY_DIR, else
  // UserConfigFolder()/registry. An empty text returns to the default.
  static void SetStoreFolder(std::string folder);
  static std::string StoreFolder();

 private:
  int32_t regKey_ = kHkeyCurrentUser;
  std::string subKey_;
};

}  // namespace vendil
