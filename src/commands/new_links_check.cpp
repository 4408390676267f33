// One new-links check of one profile: the profile's search run again, its stored links
// replaced by what this run found, and the rows it had already found taken out of the list.
#include <unordered_map>

#include "commands/dispatch.h"
#include "commands/new_links.h"
#include "export/file_text.h"
#include "newlinks/search_profile.h"
#include "platform/date_text.h"
#include "settings/c_ini.h"

namespace vendil {

namespace {

// The profile is CP932: a URL goes in with what CP932 cannot hold percent-encoded, so the
// stored line is still a working link and the next check can recognise it.
std::string StoredFormOf(const std::string& url) { return UrlForAnsiFile(url); }

}  // namespace

bool StoreFoundLinks(const std::string& strPath, const std::vector<std::string>& found) {
  std::string block;
  for (const std::string& line : found) {
    if (line.empty()) continue;  // an empty entry would end the block there
    block += line;
    block += '\0';
  }
  if (block.empty()) block += '\0';
  block += '\0';
  cIni ini;
  ini.FileName(strPath);
  ini.Section(setting::kLinksSection);
  if (!ini.SetAllKey(block)) return false;
  // The date only once the links it dates are on file.
  return WriteSetting(ini, setting::LastCheckedDate, GeneralDateTextNow());
}

std::vector<std::string> FoundLinks(const LinkList& list, size_t base) {
  std::vector<std::string> found;
  if (list.Count() > base) found.reserve(list.Count() - base);
  for (size_t i = base + 1; i <= list.Count(); ++i) found.push_back(StoredFormOf(list.Row(i).Tag));
  return found;
}

size_t RemoveStoredLinks(LinkList& list, size_t base, const std::vector<std::string>& storedLinks,
                         const std::vector<std::string>& found) {
  // A stored line that is the stored form of a row's tag stands for that tag.
  std::unordered_map<std::string, size_t> rowOf;
  for (size_t i = 0; i < found.size(); ++i)
    if (found[i] != list.Row(base + 1 + i).Tag) rowOf.emplace(found[i], base + 1 + i);
  // Tags are unique in the list, so one pass over the rows after the base count removes
  // exactly the rows a search per stored link would.
  if (rowOf.empty()) return list.RemoveUrlsAfter(base, storedLinks);
  std::vector<std::string> tags;
  tags.reserve(storedLinks.size());
  for (const std::string& line : storedLinks) {
    auto it = rowOf.find(line);
    tags.push_back(it == rowOf.end() ? line : list.Row(it->second).Tag);
  }
  return list.RemoveUrlsAfter(base, tags);
}

bool RunNewLinksCheck(Form1& form, const std::string& strPath) {
  return CheckProfile(form, strPath) == NewLinksResult::kDone;
}

NewLinksResult CheckProfile(Form1& form, const std::string& strPath) {
  int32_t storedCount = 0;
  if (!LoadProfile(form, strPath, false, storedCount)) return NewLinksResult::kNotAProfile;
  LinkList& list = form.lvwUrls;
  const size_t base = list.Count();
  if (!DispatchSearch(form)) return NewLinksResult::kSearchFailed;
  if (list.Count() <= base) {
    form.SetStatusText(kNoLinksFoundText);
    return NewLinksResult::kNothingFound;
  }

  const std::vector<std::string> found = FoundLinks(list, base);
  const bool saved = StoreFoundLinks(strPath, found);
  RemoveStoredLinks(list, base, form.m_astrStoredLinks, found);

  size_t checked = 0;
  for (size_t i = base + 1; i <= list.Count(); ++i) checked += list.Checked(i) ? 1 : 0;
  std::string status =
      std::to_string(checked) + "/" + std::to_string(list.Count() - base) + kNewLinksFoundText;
  // The next check would compare with stale links: the user must know this one was not kept.
  if (!saved) status += "\r\n" + ProfileNotUpdatedText(strPath);
  form.SetStatusText(status);
  return saved ? NewLinksResult::kDone : NewLinksResult::kNotSaved;
}

}  // namespace vendil
