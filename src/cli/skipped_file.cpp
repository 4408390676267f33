// The --skipped file: the record of links not read as TSV, written whole through a
// temporary file.
#include "cli/skipped_file.h"

#include "cli/session.h"
#include "platform/atomic_file.h"

namespace vendil::cli {

std::string SkippedLinesText(const SkippedLinks& record) {
  std::string text;
  for (size_t i = 0; i < record.Count(); ++i) {
    const SkippedLink entry = record.At(i);
    AppendTsvField(text, entry.link);
    text += '\t';
    AppendTsvField(text, entry.referer);
    text += '\t';
    AppendTsvField(text, SkipReasonWords(entry));
    text += '\n';
  }
  return text;
}

bool WriteSkippedFile(const SkippedLinks& record, const std::string& path, TerminalUi& ui) {
  // The file holds the entries only; the count past the bound is a message.
  if (record.NotKept() > 0)
    ui.PrintLine("除外されたリンクのうち、最初の " + std::to_string(record.Count()) +
                 " 件だけを記録しました (記録されていないもの " + std::to_string(record.NotKept()) +
                 " 件)。");
  std::string error;
  if (WriteFileAtomically(path, SkippedLinesText(record), &error)) return true;
  ui.MessageBox("ファイルを保存できません。\r\n" + path + "\r\n" + error, kProductTitle,
                vb::OKOnly | vb::Exclamation);
  return false;
}

}  // namespace vendil::cli
