// The terminal Ui: messages on stderr, questions on the terminal, Ctrl+C as Stop.
#include "cli/terminal_ui.h"

#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

namespace vendil::cli {

namespace {

// Ctrl+C presses since the handler was installed; only this is touched by the handler.
volatile std::sig_atomic_t g_interrupts = 0;

extern "C" void OnInterrupt(int) {
  g_interrupts = g_interrupts + 1;
  if (g_interrupts >= 2) {
    // A second Ctrl+C: the user wants out now.
    static const char kMessage[] = "\nvendil-cli: interrupted\n";
    ssize_t ignored = write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
    (void)ignored;
    _exit(130);
  }
}

struct sigaction g_previous {};

// Turns terminal echo off for its lifetime (a password prompt).
class EchoOff {
 public:
  explicit EchoOff(int fd) : fd_(fd) {
    if (tcgetattr(fd_, &saved_) == 0) {
      termios quiet = saved_;
      quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
      active_ = tcsetattr(fd_, TCSANOW, &quiet) == 0;
    }
  }
  ~EchoOff() {
    if (active_) tcsetattr(fd_, TCSANOW, &saved_);
  }
  EchoOff(const EchoOff&) = delete;
  EchoOff& operator=(const EchoOff&) = delete;

 private:
  int fd_;
  termios saved_{};
  bool active_ = false;
};

std::string OneLine(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\r') continue;
    out.push_back(c == '\n' ? ' ' : c);
  }
  return out;
}

const char* ButtonsHint(int buttons) {
  switch (buttons) {
    case vb::OKCancel:
      return " [O]K/[C]ancel";
    case vb::AbortRetryIgnore:
      return " [A]bort/[R]etry/[I]gnore";
    case vb::YesNoCancel:
      return " [Y]es/[N]o/[C]ancel";
    case vb::YesNo:
      return " [Y]es/[N]o";
    case vb::RetryCancel:
      return " [R]etry/[C]ancel";
    default:
      return "";
  }
}

// The first button of each style, which a dialog without a terminal takes.
int DefaultAnswer(int buttons) {
  switch (buttons) {
    case vb::OKCancel:
      return vb::OK;
    case vb::AbortRetryIgnore:
      return vb::Abort;
    case vb::YesNoCancel:
    case vb::YesNo:
      return vb::Yes;
    case vb::RetryCancel:
      return vb::Retry;
    default:
      return vb::OK;
  }
}

std::optional<int> AnswerFromLetter(int buttons, char c) {
  switch (c) {
    case 'o':
    case 'O':
      if (buttons == vb::OKCancel) return vb::OK;
      break;
    case 'c':
    case 'C':
      if (buttons == vb::OKCancel || buttons == vb::YesNoCancel || buttons == vb::RetryCancel)
        return vb::Cancel;
      break;
    case 'a':
    case 'A':
      if (buttons == vb::AbortRetryIgnore) return vb::Abort;
      break;
    case 'r':
    case 'R':
      if (buttons == vb::AbortRetryIgnore || buttons == vb::RetryCancel) return vb::Retry;
      break;
    case 'i':
    case 'I':
      if (buttons == vb::AbortRetryIgnore) return vb::Ignore;
      break;
    case 'y':
    case 'Y':
      if (buttons == vb::YesNo || buttons == vb::YesNoCancel) return vb::Yes;
      break;
    case 'n':
    case 'N':
      if (buttons == vb::YesNo || buttons == vb::YesNoCancel) return vb::No;
      break;
    default:
      break;
  }
  return std::nullopt;
}

}  // namespace

TerminalUi::TerminalUi()
    : TerminalUi(stdin, stderr, isatty(STDIN_FILENO) == 1, isatty(STDERR_FILENO) == 1) {}

TerminalUi::TerminalUi(std::FILE* in, std::FILE* err, bool inIsTerminal, bool errIsTerminal)
    : in_(in), err_(err), inTerminal_(inIsTerminal), errTerminal_(errIsTerminal) {}

TerminalUi::~TerminalUi() {
  if (handlerInstalled_) sigaction(SIGINT, &g_previous, nullptr);
}

void TerminalUi::CatchInterrupt() {
  if (handlerInstalled_) return;
  g_interrupts = 0;
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  handlerInstalled_ = sigaction(SIGINT, &action, &g_previous) == 0;
  interruptsSeen_ = 0;
}

void TerminalUi::ClearStatusLine() {
  if (!statusLineShown_) return;
  std::fputs("\r\x1b[K", err_);
  statusLineShown_ = false;
}

void TerminalUi::DrawStatusLine() {
  if (!errTerminal_) return;
  std::string line = OneLine(status_);
  if (haveProgress_) {
    line = "[" + std::to_string(pagesRead_) + " read, " + std::to_string(pagesQueued_) +
           " queued, " + std::to_string(rowsFound_) + " found] " + line;
  }
  std::fputs("\r\x1b[K", err_);
  std::fputs(line.c_str(), err_);
  std::fflush(err_);
  statusLineShown_ = true;
}

void TerminalUi::StatusChanged(const std::string& text) {
  status_ = text;
  DrawStatusLine();
}

void TerminalUi::Progress(int pagesRead, int pagesQueued, int rowsFound) {
  pagesRead_ = pagesRead;
  pagesQueued_ = pagesQueued;
  rowsFound_ = rowsFound;
  haveProgress_ = true;
  DrawStatusLine();
}

void TerminalUi::FinishStatus(const std::string& finalStatus) {
  ClearStatusLine();
  // Start has just shown the same text in its message box: one line is enough.
  if (lastLine_ != finalStatus) std::fprintf(err_, "%s\n", finalStatus.c_str());
  lastLine_ = finalStatus;
  std::fflush(err_);
}

void TerminalUi::PrintLine(const std::string& line) {
  ClearStatusLine();
  lastLine_.clear();
  std::fprintf(err_, "%s\n", line.c_str());
  std::fflush(err_);
  DrawStatusLine();
}

std::optional<std::string> TerminalUi::ReadLine(bool echo) {
  std::optional<EchoOff> quiet;
  if (!echo && inTerminal_) quiet.emplace(fileno(in_));
  std::string line;
  int c;
  bool any = false;
  while ((c = std::fgetc(in_)) != EOF) {
    any = true;
    if (c == '\n') break;
    line.push_back(static_cast<char>(c));
  }
  if (!echo && inTerminal_) std::fputc('\n', err_);
  if (!any) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

int TerminalUi::MessageBox(const std::string& text, const std::string& title, int style) {
  ClearStatusLine();
  lastLine_.clear();
  const int buttons = style & 7;
  // The program's own title adds nothing on a terminal.
  lastLine_ = title.empty() || title == kProductTitle ? text : title + ": " + text;
  std::fprintf(err_, "%s\n", lastLine_.c_str());
  if (buttons == vb::OKOnly || !inTerminal_) {
    std::fflush(err_);
    DrawStatusLine();
    return DefaultAnswer(buttons);
  }
  for (;;) {
    std::fprintf(err_, "%s? ", ButtonsHint(buttons));
    std::fflush(err_);
    std::optional<std::string> line = ReadLine(true);
    if (!line)
      return buttons == vb::YesNo              ? vb::No
             : buttons == vb::AbortRetryIgnore ? vb::Abort
                                               : vb::Cancel;
    if (line->empty()) return DefaultAnswer(buttons);
    if (auto answer = AnswerFromLetter(buttons, (*line)[0])) return *answer;
  }
}

std::optional<std::string> TerminalUi::InputBox(const std::string& prompt, const std::string& title,
                                                const std::string& defaultText) {
  ClearStatusLine();
  lastLine_.clear();
  if (!inTerminal_) {
    std::fprintf(err_, "%s: %s\n", title.c_str(), OneLine(prompt).c_str());
    return defaultText;
  }
  std::fprintf(err_, "%s: %s [%s] ", title.c_str(), OneLine(prompt).c_str(), defaultText.c_str());
  std::fflush(err_);
  std::optional<std::string> line = ReadLine(true);
  if (!line) return std::nullopt;
  if (line->empty()) return defaultText;
  return line;
}

std::optional<std::string> TerminalUi::ShowMultiUrlDialog() {
  if (!inTerminal_) return std::nullopt;
  ClearStatusLine();
  lastLine_.clear();
  std::fputs("URLs, one a line; an empty line ends the list:\n", err_);
  std::fflush(err_);
  std::string text;
  for (;;) {
    std::optional<std::string> line = ReadLine(true);
    if (!line) return std::nullopt;
    if (line->empty()) break;
    text += *line + "\r\n";
  }
  return text;
}

void TerminalUi::ShowLog(const std::string& text) {
  ClearStatusLine();
  lastLine_.clear();
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out.push_back(text[i]);
  }
  std::fputs(out.c_str(), err_);
  if (!out.empty() && out.back() != '\n') std::fputc('\n', err_);
  std::fflush(err_);
}

bool TerminalUi::ShowSignIn(std::string& id, std::string& password, int attempt) {
  ClearStatusLine();
  lastLine_.clear();
  if (!inTerminal_) return signInWithoutTerminal_ && attempt == 0;
  std::fprintf(err_, "Yahoo! ID: [%s] ", id.c_str());
  std::fflush(err_);
  std::optional<std::string> typedId = ReadLine(true);
  if (!typedId) return false;
  if (!typedId->empty()) id = *typedId;
  std::fputs("Password: ", err_);
  std::fflush(err_);
  std::optional<std::string> typedPassword = ReadLine(false);
  if (!typedPassword) return false;
  if (!typedPassword->empty()) password = *typedPassword;
  return true;
}

std::optional<std::string> TerminalUi::FileDialog(const FileDialogRequest& request) {
  if (!inTerminal_) return std::nullopt;
  ClearStatusLine();
  lastLine_.clear();
  std::fprintf(err_, "%s [%s] ", request.title.c_str(), request.fileName.c_str());
  std::fflush(err_);
  std::optional<std::string> line = ReadLine(true);
  if (!line) return std::nullopt;
  std::string path = line->empty() ? request.fileName : *line;
  if (path.empty()) return std::nullopt;
  if (path.front() != '/' && !request.initialDir.empty()) path = request.initialDir + "/" + path;
  return path;
}

void TerminalUi::SetClipboardText(const std::string& text) {
  // No clipboard on a terminal: the text goes to stdout, where a pipe can take it.
  std::fputs(text.c_str(), stdout);
  std::fflush(stdout);
}

void TerminalUi::OpenUrl(const std::string& url) {
  ClearStatusLine();
  lastLine_.clear();
  std::fprintf(err_, "%s\n", url.c_str());
}

void TerminalUi::Yield() {
  // Each Ctrl+C is one Stop command: it sets the flag once, and a search that clears the
  // flag when it starts is not stopped again by the same press.
  const int interrupts = g_interrupts;
  if (stopFlag_ && interrupts > interruptsSeen_) *stopFlag_ = true;
  interruptsSeen_ = interrupts;
}

}  // namespace vendil::cli
