// Japanese texts for the errno values file operations meet.
#include "platform/error_text.h"

#include <cerrno>
#include <cstring>

namespace vendil {

std::string SystemErrorText(int err) {
  switch (err) {
    case EACCES:
      return "アクセスが拒否されました。";
    case EPERM:
      return "この操作は許可されていません。";
    case ENOSPC:
      return "ディスクに空き領域がありません。";
    case EDQUOT:
      return "ディスクの使用量の上限を超えました。";
    case EROFS:
      return "読み取り専用のファイルシステムです。";
    case ENOENT:
      return "ファイルまたはフォルダが見つかりません。";
    case ENOTDIR:
      return "パスの途中にフォルダでないものがあります。";
    case EISDIR:
      return "フォルダです。";
    case EEXIST:
      return "同じ名前のものが既にあります。";
    case ENAMETOOLONG:
      return "ファイル名が長すぎます。";
    case EFBIG:
      return "ファイルが大きすぎます。";
    case EIO:
      return "入出力エラーが発生しました。";
    case EBUSY:
    case ETXTBSY:
      return "ファイルが使用中です。";
    case EMFILE:
    case ENFILE:
      return "開いているファイルが多すぎます。";
    case ELOOP:
      return "シンボリックリンクが多すぎます。";
    case EINVAL:
      return "ファイル名またはパスが正しくありません。";
    default:
      break;
  }
  return std::string(std::strerror(err)) + " (" + std::to_string(err) + ")";
}

}  // namespace vendil
