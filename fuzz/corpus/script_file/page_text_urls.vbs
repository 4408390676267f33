' ページの本文に書かれた URL を、リンクになっていないものも含めてすべて追加します。
' 追加した URL もファイル名マスクとクロールの規則で通常のリンクと同じように扱われます。
Dim reUrl, objMatch
Set reUrl = New RegExp
reUrl.Pattern = "https?://[-_.!~*'()a-zA-Z0-9;/?:@&=+$,%#]+"
reUrl.Global = True
reUrl.IgnoreCase = True
For Each objMatch In reUrl.Execute(VendilInfo.Html)
  VendilInfo.AddUrl objMatch.Value
Next
