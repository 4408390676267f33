// Record layouts of the list files.
#include "export/list_formats.h"

#include "export/file_text.h"
#include "export/target_folder.h"
#include "platform/codec.h"

namespace vendil {

namespace {

void Line(std::string& out, const std::string& text) {
  out += text;
  out += "\r\n";
}

void TextRecord(std::string& out, const LinkRow& row) { Line(out, UrlForAnsiFile(row.Url)); }

void IriRecord(std::string& out, const LinkRow& row, const std::string& folder,
               const std::string& date) {
  Line(out, "Url=" + UrlForAnsiFile(row.Url));
  Line(out, "Folder=" + FieldForListFile(folder));
  Line(out, "Date=" + date);
  Line(out, "ID=1");
  Line(out, "HttpRefererType=4");
  Line(out, "HttpRefererStr=" + UrlForAnsiFile(row.Referer));
  Line(out, "");
}

void IrvRecord(std::string& out, const LinkRow& row, const std::string& folder,
               const std::string& date) {
  const std::string fields[18] = {UrlForAnsiFile(row.Url),
                                  FieldForListFile(folder),
                                  "",
                                  UrlForAnsiFile(row.Referer),
                                  "",
                                  "",
                                  "0",
                                  "0",
                                  "",
                                  "",
                                  date,
                                  "0",
                                  "Vendil",
                                  "0",
                                  "0",
                                  "0",
                                  "",
                                  ""};
  std::string line;
  for (int i = 0; i < 18; ++i) {
    if (i) line += '\t';
    line += fields[i];
  }
  Line(out, line);
}

void WrgRecord(std::string& out, const LinkRow& row, const std::string& folder) {
  Line(out, ";");
  Line(out, "Info=" + FieldForListFile(row.Title));
  Line(out, "RefererStr=" + UrlForAnsiFile(row.Referer));
  Line(out, "StoreIn=" + FieldForListFile(folder));
  Line(out, "Advanced=0");
  Line(out, "Url=" + UrlForAnsiFile(row.Url));
}

void GrxRecord(std::string& out, const LinkRow& row, const std::string& folder) {
  Line(out, "URL: " + UrlForAnsiFile(row.Url));
  std::string name = row.FileName.empty() ? "index.html" : row.FileName;
  // A name CP932 cannot hold would reach the file with "?" in it, which no file may be
  // called: it goes in percent-encoded, as the URL it was taken from had it.
  if (!AnsiCanHold(name)) name = UrlForAnsiFile(name);
  Line(out, "File: " + FieldForListFile(folder + name));
  Line(out, "SourcePageURL: " + UrlForAnsiFile(row.Referer));
  Line(out, "Desc: " + FieldForListFile(row.Title));
  Line(out, "");
}

void Aria2Record(std::string& out, const LinkRow& row, std::string folder) {
  for (char& c : folder) {
    if (c == '\\') c = '/';
  }
  out += UrlForUtf8File(row.Url) + "\n";
  if (!folder.empty()) out += " dir=" + FieldForListFile(folder) + "\n";
  if (!row.Referer.empty()) out += " referer=" + UrlForUtf8File(row.Referer) + "\n";
}

}  // namespace

const ListFormatInfo& FormatInfo(ListFormat format) {
  static const ListFormatInfo infos[] = {
      {"yahoobc.txt", "テキストファイル(*.txt)|*.txt", ".txt", false},
      {"yahoobc.iri", "Iria形式ファイル(*.iri)|*.iri", ".iri", true},
      {"yahoobc.irv", "Irvine形式ファイル(*.irv)|*.irv", ".irv", true},
      {"yahoobc.wrg", "ReGet形式ファイル(*.wrg)|*.wrg", ".wrg", false},
      {"yahoobc.grx", "GetRight形式ファイル(*.grx)|*.grx", ".grx", false},
      {"yahoobc.aria2", "aria2入力ファイル(*.aria2)|*.aria2", ".aria2", false},
  };
  return infos[static_cast<int>(format)];
}

std::optional<ListFormat> ListFormatFromName(const std::string& name) {
  if (name == "text") return ListFormat::Text;
  if (name == "iri") return ListFormat::Iri;
  if (name == "irv") return ListFormat::Irv;
  if (name == "wrg") return ListFormat::Wrg;
  if (name == "grx") return ListFormat::Grx;
  if (name == "aria2") return ListFormat::Aria2;
  return std::nullopt;
}

std::string ListFileBytes(ListFormat format, const LinkList& list, const std::string& saveFolder,
                          bool useBriefcaseDirectory, const std::string& dateText) {
  std::string text;
  for (size_t i = 1; i <= list.Count(); ++i) {
    if (!list.Checked(i)) continue;
    const LinkRow& row = list.Row(i);
    const bool grx = format == ListFormat::Grx;
    const std::string folder = format == ListFormat::Text
                                   ? std::string()
                                   : RowTargetFolder(row, saveFolder, useBriefcaseDirectory, grx);
    switch (format) {
      case ListFormat::Text:
        TextRecord(text, row);
        break;
      case ListFormat::Iri:
        IriRecord(text, row, folder, dateText);
        break;
      case ListFormat::Irv:
        IrvRecord(text, row, folder, dateText);
        break;
      case ListFormat::Wrg:
        WrgRecord(text, row, folder);
        break;
      case ListFormat::Grx:
        GrxRecord(text, row, folder);
        break;
      case ListFormat::Aria2:
        Aria2Record(text, row, folder);
        break;
    }
  }
  return format == ListFormat::Aria2 ? text : Utf8ToAnsi(text);
}

}  // namespace vendil
