' アーカイブ (.zip と .lzh) へのリンクを整えるスクリプトの例です。
' クロールが読むページごとに、次のことをします。
'   1. ほかのサーバーへのリンクを外します (一覧にも載らず、たどられもしません)。
'   2. アーカイブへのリンクのタイトルを「ページのタイトル / リンクの文字」にします。
'   3. アーカイブの横にチェックサムのファイル (名前の後ろに .sha256) があるものとして、
'      その URL を追加します。フィルタが *.zip;*.lzh ならチェックは付きません。
Dim strHtml, strPageTitle, strPageHost, lngOpen, lngClose, i, objLink, strExt

' ページのタイトル: <title> と </title> の間の文字 (大文字と小文字は区別しません)
strHtml = VendilInfo.Html
strPageTitle = ""
lngOpen = InStr(1, strHtml, "<title>", vbTextCompare)
If lngOpen > 0 Then
  lngClose = InStr(lngOpen, strHtml, "</title>", vbTextCompare)
  If lngClose > 0 Then strPageTitle = Trim(Mid(strHtml, lngOpen + 7, lngClose - lngOpen - 7))
End If

' 1. 後ろから順に見るので、リンクを外しても、まだ見ていないリンクの番号は変わりません
strPageHost = LCase(HostOf(VendilInfo.Url))
For i = VendilInfo.Links.Count To 1 Step -1
  If LCase(HostOf(VendilInfo.Links.Item(i).Url)) <> strPageHost Then VendilInfo.Links.Remove i
Next

' 2. と 3.
For Each objLink In VendilInfo.Links
  strExt = LCase(Right(objLink.Url, 4))
  If strExt = ".zip" Or strExt = ".lzh" Then
    If strPageTitle <> "" Then objLink.Title = strPageTitle & " / " & objLink.Title
    ' 引数は URL, ファイル名, フォルダ, Referer, タイトルの順。省略したものは空か既定の値です
    VendilInfo.AddUrl objLink.Url & ".sha256", , , , objLink.Title & " (チェックサム)"
  End If
Next

' URL のホスト名 ("://" の後ろから、次の "/" の前まで)
Function HostOf(strUrl)
  Dim lngStart, lngEnd
  HostOf = ""
  lngStart = InStr(strUrl, "://")
  If lngStart = 0 Then Exit Function
  lngStart = lngStart + 3
  lngEnd = InStr(lngStart, strUrl, "/")
  If lngEnd = 0 Then lngEnd = Len(strUrl) + 1
  HostOf = Mid(strUrl, lngStart, lngEnd - lngStart)
End Function
