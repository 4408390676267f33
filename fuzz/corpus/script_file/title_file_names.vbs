' リンクのタイトルからファイル名を付けます。拡張子は URL のものを使い、
' ファイル名に使えない文字は "_" に置き換えます。タイトルのないリンクはそのままです。
Dim objLink, strName, strExt, lngDot, lngSlash, lngQuery, varBad, strBad
varBad = Array("\", "/", ":", "*", "?", """", "<", ">", "|", vbTab)
For Each objLink In VendilInfo.Links
  strName = Trim(objLink.Title)
  If strName <> "" Then
    strExt = objLink.Url
    lngQuery = InStr(strExt, "?")
    If lngQuery > 0 Then strExt = Left(strExt, lngQuery - 1)
    lngDot = InStrRev(strExt, ".")
    lngSlash = InStrRev(strExt, "/")
    If lngDot > lngSlash Then strExt = Mid(strExt, lngDot) Else strExt = ""
    For Each strBad In varBad
      strName = Replace(strName, strBad, "_")
    Next
    objLink.FileName = strName & strExt
  End If
Next
