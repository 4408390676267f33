// Shared by the hand-off tests: a Form1 on a scripted Ui with rows that carry Japanese,
// blanks, folders of both kinds, two referers and an unchecked row, and the folder of the
// save that they go to.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "state/form1.h"
#include "support/fake_ui.h"
#include "support/refusing_port.h"
#include "support/temp_folder.h"

namespace vendil::test {

class HandoffTest : public ::testing::Test {
 protected:
  HandoffTest() : form(ui) {
    form.settingsFile = temp.File("vendil.ini");
    form.mnuOption_UseBriefcaseDirectory.SetChecked(true);
  }

  void Add(bool checked, const std::string& url, const std::string& referer,
           const std::string& folder = "", const std::string& downloadFolder = "") {
    form.lvwUrls.AddLink("", url, referer, "", folder, downloadFolder, 1);
    form.lvwUrls.SetChecked(form.lvwUrls.Count(), checked);
  }

  // Page one gives rows 1 and 4; row 2 is unchecked; row 3 has no referer and a download
  // folder of its own.
  void AddRows() {
    Add(true, kJapanese, kPage, "音楽\\ライブ\\");
    Add(false, "http://127.0.0.1:9/skip.zip", kPage);
    Add(true, "http://127.0.0.1:9/b.zip", "", "", "/srv/own");
    Add(true, "http://127.0.0.1:9/x%20y.zip", kPage);
  }

  static constexpr const char* kJapanese = "http://127.0.0.1:9/files/日本語 ファイル.zip";
  static constexpr const char* kPage = "http://127.0.0.1:9/page one.html";
  static constexpr const char* kSave = "/home/u/保存 先";

  TempFolder temp;
  FakeUi ui;
  Form1 form;
};

}  // namespace vendil::test
