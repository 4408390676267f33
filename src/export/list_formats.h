// The list files for the download managers: their bytes from the checked rows, and the
// dialog defaults of each format.
#pragma once

#include <optional>
#include <string>

#include "list/link_list.h"

namespace vendil {

enum class ListFormat { Text, Iri, Irv, Wrg, Grx, Aria2 };

struct ListFormatInfo {
  const char* defaultName;  // offered by the save dialog
  const char* filter;       // without the closing "all files" pair
  const char* defaultExt;
  bool usesDate;  // the export date goes into every record
};

const ListFormatInfo& FormatInfo(ListFormat format);
// "text", "iri", "irv", "wrg", "grx", "aria2" (the command line's names).
std::optional<ListFormat> ListFormatFromName(const std::string& name);

// The whole file for the checked rows of `list`, in list order. The five Windows formats
// are CP932 with CR LF after every line; the aria2 input file is UTF-8 with LF, as aria2
// reads it on every platform. `dateText` is used by .iri and .irv only.
std::string ListFileBytes(ListFormat format, const LinkList& list, const std::string& saveFolder,
                          bool useBriefcaseDirectory, const std::string& dateText);

}  // namespace vendil
