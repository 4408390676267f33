// The add-URL script host: the engine made once at load with its VendilInfo object, the
// script chosen and compiled once per crawl, its run on every page, the error box, and the
// script's message and input boxes and its share of the event loop through the Ui.
#include "crawl/add_url_script.h"

#include <chrono>
#include <exception>
#include <optional>

#include "crawl/script_file.h"
#include "crawl/script_host_objects.h"
#include "script/engine.h"
#include "script/script_error.h"
#include "script/variant_convert.h"

namespace vendil {

namespace {

constexpr const char* kDefaultBoxTitle = kProductTitle;
constexpr char kScriptErrorTitle[] = "スクリプトエラー";

// MsgBox and InputBox of scripts go to the Ui; between statements the event loop gets its
// turn now and then, and the Stop command ends a script that would run on.
class UiBridge : public HostCallbacks {
 public:
  explicit UiBridge(Form1& form) : form_(form) {}

  int MessageBox(std::u16string_view text, std::u16string_view title, int style) override {
    return form_.ui().MessageBox(Utf16ToUtf8(text), TitleOrDefault(title), style);
  }
  std::optional<std::u16string> InputBox(std::u16string_view prompt, std::u16string_view title,
                                         std::u16string_view defaultText) override {
    auto answer =
        form_.ui().InputBox(Utf16ToUtf8(prompt), TitleOrDefault(title), Utf16ToUtf8(defaultText));
    if (!answer) return std::nullopt;
    return Utf8ToUtf16(*answer);
  }
  // The engine calls this every few hundred statements, or after each heavy one, so the
  // clock is read here each time and the event loop gets its turn every 20 ms.
  bool Tick() override {
    if (form_.m_blnStop) return false;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastYield_ >= std::chrono::milliseconds(20)) {
      lastYield_ = now;
      form_.ui().Yield();
    }
    return !form_.m_blnStop;
  }

 private:
  static std::string TitleOrDefault(std::u16string_view title) {
    return title.empty() ? std::string(kDefaultBoxTitle) : Utf16ToUtf8(title);
  }
  Form1& form_;
  std::chrono::steady_clock::time_point lastYield_{};
};

// What form.m_objScript holds: the engine and m_objInfo, for the life of the window.
class ScriptEngineSlot : public ScriptSlot {
 public:
  explicit ScriptEngineSlot(Form1& form)
      : bridge_(form), engine_(bridge_), m_objInfo(std::make_shared<VendilInfoClass>()) {
    engine_.AddObject(u"VendilInfo", m_objInfo);
  }
  Engine& engine() { return engine_; }

 private:
  UiBridge bridge_;  // before the engine, which keeps a reference to it
  Engine engine_;

 public:
  // After the engine, so members initialise in this order.
  std::shared_ptr<VendilInfoClass> m_objInfo;
  bool running = false;
};

std::string ScriptErrorText(const std::string& scriptName, const ScriptErrorInfo& error) {
  const std::string crlf = "\r\n";
  return "スクリプト'" + scriptName + "'でエラーが発生しました。" + crlf + crlf +
         Utf16ToUtf8(error.description) + crlf + "行: " + std::to_string(error.line) + crlf +
         "文字: " + std::to_string(error.column) + crlf + "番号: " + std::to_string(error.number) +
         crlf + "種類: " + Utf16ToUtf8(error.source) + crlf +
         "コード: " + Utf16ToUtf8(error.lineText);
}

// What is shown if the engine itself fails; the crawl goes on.
ScriptErrorInfo InternalError() {
  ScriptErrorInfo error;
  error.number = 51;
  error.description = u"Internal error";
  error.source = kRuntimeErrorSource;
  return error;
}

// Said under the error: the rest of the search goes on without the script, so a script that
// fails on every page shows one box, not one per page.
constexpr char kScriptDisabledText[] =
    "このスクリプトは、この検索の残りのページでは実行されません。";

// The script of one crawl, compiled once. Its first error (a syntax error, or one met while
// it runs on a page) is shown once and turns it off for the rest of this crawl.
class ChosenScript : public PageScript {
 public:
  ChosenScript(Form1& form, ScriptEngineSlot& slot, std::string name, const std::string& text)
      : form_(form), slot_(slot), name_(std::move(name)) {
    try {
      Engine::CompileResult compiled = slot_.engine().Compile(Utf8ToUtf16(text));
      script_ = std::move(compiled.script);
      compileError_ = std::move(compiled.error);
    } catch (const std::exception&) {
      script_.reset();
    }
    if (!script_ && !compileError_) compileError_ = InternalError();
  }

  void RunOnPage(const std::string& pageUrl, const std::string& pageHtml,
                 LinkCollection& links) override {
    // A crawl started from a box the script shows must not re-enter the running engine.
    if (slot_.running || disabled_) return;
    VendilInfoClass& info = *slot_.m_objInfo;
    info.Html = Utf8ToUtf16(pageHtml);
    info.Url = Utf8ToUtf16(pageUrl);
    info.Links.reset();
    auto collection = std::make_shared<LinkCollectionObject>(links);
    info.Links = collection;

    std::optional<ScriptErrorInfo> error = compileError_;
    if (script_) {
      slot_.running = true;
      try {
        error = slot_.engine().Run(*script_);
      } catch (const std::exception&) {
        error = InternalError();
      }
      slot_.running = false;
    }
    // The crawl goes on with the collection it passed in, as the script left it.
    links = collection->links();
    // The page text is large; it is not kept past the page.
    info.Html.clear();
    if (error && !error->aborted) {
      disabled_ = true;
      form_.ui().MessageBox(ScriptErrorText(name_, *error) + "\r\n\r\n" + kScriptDisabledText,
                            kScriptErrorTitle, vb::OKOnly | vb::Critical);
    }
  }

 private:
  Form1& form_;
  ScriptEngineSlot& slot_;
  std::string name_;
  std::shared_ptr<const CompiledScript> script_;
  std::optional<ScriptErrorInfo> compileError_;
  bool disabled_ = false;
};

// A name from the list, never a path that leaves the scripts folder.
bool IsPlainFileName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("/\\") == std::string::npos && name.find('\0') == std::string::npos;
}

}  // namespace

void CreateScriptEngine(Form1& form) {
  try {
    form.m_objScript = std::make_unique<ScriptEngineSlot>(form);
  } catch (const std::exception& e) {
    // Searches go on without scripts; the user learns why none runs.
    form.m_objScript.reset();
    form.SetStatusText(std::string("スクリプトエンジンを開始できません。") + e.what());
  }
}

std::unique_ptr<PageScript> PrepareScript(SearchRun& run) {
  Form1& form = run.form;
  auto* slot = dynamic_cast<ScriptEngineSlot*>(form.m_objScript.get());
  const std::string name = form.cmbScript.Text();
  if (!slot || name.empty()) return nullptr;
  if (!IsPlainFileName(name)) return nullptr;
  std::optional<std::string> text = ReadScriptFile(form.programFolder + "/scripts/" + name);
  // An unreadable file is an empty script, which does nothing.
  if (!text || text->empty()) return nullptr;
  return std::make_unique<ChosenScript>(form, *slot, name, *text);
}

}  // namespace vendil
