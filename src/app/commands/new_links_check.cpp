// One new-links check of one profile: the profile's search run again, its stored links
// replaced by what this run found, and the rows it had already found taken out of the list.
#include <unordered_map>

#include "app/commands/dispatch.h"
#include "app/commands/new_links.h"
#include "export/file_text.h"
#include "newlinks/search_profile.h"
#include "platform/date_text.h"
#include "settings/c_ini.h"

namespace vendil {

namespace {

// The profile is CP932: a URL goes in with what CP932 cannot hold percent-encoded, so the
// stored line is still a working link and the next check can recognise it.
std::string StoredFormOf(const std::string& url) { return UrlForAnsiFile(url); }

bool StoreFoundLinks(const std::string& strPath, const std::vector<std::string>& stored) {
  std::string block;
  for (const std::string& line : stored) {
    block += line;
    block += '\0';
  }
  if (stored.empty()) block += '\0';
  block += '\0';
  cIni ini;
  ini.FileName(strPath);
  ini.Section("Links");
  if (!ini.SetAllKey(block)) return false;
  // The date only once the links it dates are on file.
  ini.Section("Version");
  return ini.SetString("LastCheckedDate", GeneralDateTextNow());
}

// The stored links as the tags of this run's rows: a line that is the stored form of a tag
// stands for that tag.
std::vector<std::string> StoredLinksAsTags(const std::vector<std::string>& storedLinks,
                                           const std::vector<std::string>& tags,
                                           const std::vector<std::string>& storedForms) {
  std::unordered_map<std::string, const std::string*> tagOf;
  for (size_t i = 0; i < tags.size(); ++i)
    if (storedForms[i] != tags[i]) tagOf.emplace(storedForms[i], &tags[i]);
  if (tagOf.empty()) return storedLinks;
  std::vector<std::string> result;
  result.reserve(storedLinks.size());
  for (const std::string& line : storedLinks) {
    auto it = tagOf.find(line);
    result.push_back(it == tagOf.end() ? line : *it->second);
  }
  return result;
}

}  // namespace

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

  std::vector<std::string> tags, storedForms;
  tags.reserve(list.Count() - base);
  storedForms.reserve(list.Count() - base);
  for (size_t i = base + 1; i <= list.Count(); ++i) {
    tags.push_back(list.Row(i).Tag);
    storedForms.push_back(StoredFormOf(tags.back()));
  }
  const bool saved = StoreFoundLinks(strPath, storedForms);

  // Tags are unique in the list, so one pass over the rows after the base count removes
  // exactly the rows a search per stored link would.
  list.RemoveUrlsAfter(base, StoredLinksAsTags(form.m_astrStoredLinks, tags, storedForms));

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
