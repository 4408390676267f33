// The terminal Ui on streams of the test: what reaches stderr, the defaults without a
// terminal, answers read from a terminal, the password kept out of every output, Ctrl+C.
//
// The terminal Ui is part of the vendil-cli executable, not of a library, so its source is
// compiled into this test directly.
#include "cli/terminal_ui.cpp"  // NOLINT(bugprone-suspicious-include)

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <string>

namespace vendil::cli {
namespace {

// A temporary FILE*: typed answers to read from it, or what is written, read back.
class Stream {
 public:
  explicit Stream(const std::string& typed = "") : file_(std::tmpfile()) {
    std::fputs(typed.c_str(), file_);
    std::rewind(file_);
  }
  ~Stream() { std::fclose(file_); }
  Stream(const Stream&) = delete;
  Stream& operator=(const Stream&) = delete;
  std::FILE* get() { return file_; }
  std::string Text() {
    std::fflush(file_);
    std::string out;
    std::rewind(file_);
    for (int c; (c = std::fgetc(file_)) != EOF;) out.push_back(static_cast<char>(c));
    std::fseek(file_, 0, SEEK_END);
    return out;
  }

 private:
  std::FILE* file_;
};

TEST(TerminalUiWithoutTerminal, DialogsTakeTheirDefaults) {
  Stream in("y\nanswer\n");
  Stream err;
  TerminalUi ui(in.get(), err.get(), false, false);
  EXPECT_EQ(ui.MessageBox("Overwrite?", "Vendil", vb::YesNo | vb::Question), vb::Yes);
  EXPECT_EQ(ui.MessageBox("done", "Vendil", vb::OKOnly), vb::OK);
  EXPECT_EQ(ui.InputBox("tags?", "title", "object src"), std::optional<std::string>("object src"));
  EXPECT_EQ(ui.ShowMultiUrlDialog(), std::nullopt);
  EXPECT_EQ(ui.FileDialog(FileDialogRequest{}), std::nullopt);
  const std::string text = err.Text();
  EXPECT_NE(text.find("Overwrite?\n"), std::string::npos);
  EXPECT_NE(text.find("done\n"), std::string::npos);
}

TEST(TerminalUiWithoutTerminal, SignInOnlyOnceAndOnlyWhenAsked) {
  Stream in("");
  Stream err;
  TerminalUi ui(in.get(), err.get(), false, false);
  std::string id = "me", password = "s3cret-pass";
  EXPECT_FALSE(ui.ShowSignIn(id, password, 0));
  ui.SetSignInWithoutTerminal(true);
  EXPECT_TRUE(ui.ShowSignIn(id, password, 0));
  EXPECT_EQ(id, "me");
  EXPECT_EQ(password, "s3cret-pass");
  EXPECT_FALSE(ui.ShowSignIn(id, password, 1));  // a second dialog means the first failed
  EXPECT_EQ(err.Text().find("s3cret-pass"), std::string::npos);
}

TEST(TerminalUiOnTerminal, AnswersAreReadAndThePasswordNeverShown) {
  Stream in("n\n\nnew tags\nalice\ntyped-pass\n");
  Stream err;
  TerminalUi ui(in.get(), err.get(), true, false);
  EXPECT_EQ(ui.MessageBox("Continue?", "Vendil", vb::YesNo), vb::No);
  EXPECT_EQ(ui.InputBox("tags?", "title", "old"), std::optional<std::string>("old"));
  EXPECT_EQ(ui.InputBox("tags?", "title", "old"), std::optional<std::string>("new tags"));
  std::string id = "bob", password = "stored-pass";
  EXPECT_TRUE(ui.ShowSignIn(id, password, 0));
  EXPECT_EQ(id, "alice");
  EXPECT_EQ(password, "typed-pass");
  const std::string text = err.Text();
  EXPECT_NE(text.find("Yahoo! ID: [bob]"), std::string::npos);
  EXPECT_NE(text.find("Password:"), std::string::npos);
  EXPECT_EQ(text.find("stored-pass"), std::string::npos);
  EXPECT_EQ(text.find("typed-pass"), std::string::npos);
  // End of input cancels.
  EXPECT_FALSE(ui.ShowSignIn(id, password, 1));
  EXPECT_EQ(ui.InputBox("x", "t", "d"), std::nullopt);
}

TEST(TerminalUiStatus, RewrittenInPlaceOnATerminalAndOnlyTheFinalOtherwise) {
  Stream tty;
  {
    TerminalUi ui(stdin, tty.get(), false, true);
    ui.StatusChanged("reading");
    ui.Progress(1, 2, 3);
    ui.FinishStatus("3/3 done");
  }
  const std::string t = tty.Text();
  EXPECT_NE(t.find("\r\x1b[K[1 read, 2 queued, 3 found] reading"), std::string::npos) << t;
  EXPECT_EQ(t.substr(t.size() - 9), "3/3 done\n");

  Stream pipe;
  {
    TerminalUi ui(stdin, pipe.get(), false, false);
    ui.StatusChanged("reading");
    ui.Progress(1, 2, 3);
    ui.MessageBox("3/3 done", "Vendil", vb::OKOnly);
    ui.FinishStatus("3/3 done");  // Start's message box already said it
  }
  EXPECT_EQ(pipe.Text(), "3/3 done\n");
}

TEST(TerminalUiInterrupt, CtrlCSetsTheStopFlagAtTheNextYield) {
  Stream err;
  TerminalUi ui(stdin, err.get(), false, false);
  bool stop = false;
  ui.SetStopFlag(&stop);
  ui.CatchInterrupt();
  ui.Yield();
  EXPECT_FALSE(stop);
  std::raise(SIGINT);
  EXPECT_FALSE(stop);  // the handler only marks it
  ui.Yield();
  EXPECT_TRUE(stop);

  // One Ctrl+C is one Stop: a search that clears the flag afterwards runs on.
  stop = false;
  ui.Yield();
  EXPECT_FALSE(stop);
}

}  // namespace
}  // namespace vendil::cli
