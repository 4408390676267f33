// The two marker sets and their loading into the main window.
#include "briefcase/markers.h"

#include <string>

#include "briefcase/endpoints.h"
#include "briefcase/scan_briefcase.h"

namespace vendil {

BriefcaseMarkerSet BriefcaseMarkersFor(int32_t site) {
  BriefcaseMarkerSet m;
  if (site == kJapaneseSite) {
    m.SignInText = "ログイン";
    m.SignOutText = "ログアウト";
    m.CheckAllText = "すべてを選択";
    m.ShowAllText = "すべてを表示";
    m.LastModifiedText = "最終変更日";
    m.EmptyFolderText = "このフォルダには現在、何も入っていません。";
    m.DisabledText = "Access to this Briefcase has been disabled.";
    m.NotFoundText = "お探しのブリーフケースやファイルはありません。";
    m.VerifyPasswordText = "Verify Password";
    m.SignedInTitle = "<title>Yahoo!";
    m.BriefcaseTitle = "<title>Yahoo!";
    m.SiteRoot = std::string(kJapaneseSiteRoot);
  } else {
    m.SignInText = "Sign In";
    m.SignOutText = "Sign Out";
    m.CheckAllText = "Check All";
    m.ShowAllText = "Show All";
    m.LastModifiedText = "Last Modified";
    m.EmptyFolderText = "This folder is currently empty.";
    m.DisabledText = "Access to this Briefcase has been disabled.";
    m.NotFoundText = "The briefcase or file you are seeking does not exist.";
    m.VerifyPasswordText = "Verify Password";
    m.SignedInTitle = "<title>Yahoo! Briefcase";
    m.BriefcaseTitle = "<title>Yahoo! Briefcase";
    m.SiteRoot = std::string(kInternationalSiteRoot);
  }
  return m;
}

void SetBriefcaseMarkers(Form1& form, int32_t site) {
  const int32_t set = site == kJapaneseSite ? kJapaneseSite : kInternationalSite;
  form.m_markers = BriefcaseMarkersFor(set);
  form.m_lngLoadedMarkerSet = set;
}

}  // namespace vendil
