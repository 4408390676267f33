// Shared by the export tests: a Form1 on a scripted Ui, a temporary folder that goes away
// with the test, and the rows the golden files are made from.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "state/form1.h"
#include "support/fake_ui.h"
#include "support/temp_folder.h"

namespace vendil::test {

class ExportTest : public ::testing::Test {
 protected:
  ExportTest() : form(ui) { form.settingsFile = Path("vendil.ini"); }

  std::string Path(const std::string& name) const { return temp.File(name); }
  static std::string Read(const std::string& path) { return ReadBytes(path); }
  static void Write(const std::string& path, const std::string& bytes) { WriteBytes(path, bytes); }

  // Adds a row and sets its check mark.
  void Add(bool checked, const std::string& fileName, const std::string& url,
           const std::string& referer, const std::string& title, const std::string& folder,
           const std::string& downloadFolder) {
    form.lvwUrls.AddLink(fileName, url, referer, title, folder, downloadFolder, 1);
    form.lvwUrls.SetChecked(form.lvwUrls.Count(), checked);
  }

  // Four rows: one with a briefcase folder, one with its own download folder and no
  // referer, title or file name, an unchecked one, and one with a Japanese title, an emoji
  // and Hangul in its URL.
  void AddGoldenRows() {
    Add(true, "a.zip", "http://example.com/files/a.zip", "http://example.com/", "Aの書庫",
        "music\\live\\", "");
    Add(true, "", "http://example.com/dir/", "", "", "", "D:\\x");
    Add(false, "b.zip", "http://example.com/files/b.zip", "http://example.com/", "B", "", "");
    Add(true, "c.zip", "http://example.com/한국/c.zip?q=日本", "http://example.com/문서.html",
        "日本語のタイトル😀", "写真\\", "");
  }

  TempFolder temp;
  const std::string& dir = temp.Path();
  FakeUi ui;
  Form1 form;
};

}  // namespace vendil::test
