' The control's properties as a VBScript page or script sees them, late bound through
' CreateObject: defaults and their types, what written values become, and the errors of the
' writes and calls that are refused. One "ok:" or "FAIL:" line per check; "done" is the last
' line, so that a script that stopped early (the host does not always say why) is seen.
' Wine's VBScript has no Execute, Eval or ChrW: properties are named in Select Case below.
Option Explicit

Dim o
Set o = CreateObject("PELIORAN.PelioranCtrl.1")

Sub Report(good, what, detail)
  If good Then
    WScript.Echo "ok: " & what
  Else
    WScript.Echo "FAIL: " & what & " (" & detail & ")"
  End If
End Sub

' A value as a script writer sees it: its type and its text.
Function Show(v)
  If IsNull(v) Then
    Show = "Null"
  ElseIf IsEmpty(v) Then
    Show = "Empty"
  ElseIf VarType(v) = vbString Then
    Show = "String """ & v & """"
  Else
    Show = TypeName(v) & " " & CStr(v)
  End If
End Function

Function Same(a, b)
  Same = False
  If VarType(a) = VarType(b) Then Same = (a = b)
End Function

Function ReadProp(name)
  Select Case name
    Case "strIpAddr": ReadProp = o.strIpAddr
    Case "iHttpPort": ReadProp = o.iHttpPort
    Case "iSvrID": ReadProp = o.iSvrID
    Case "bGroup": ReadProp = o.bGroup
    Case "bTour": ReadProp = o.bTour
    Case "bAux1": ReadProp = o.bAux1
    Case Else: Err.Raise 5, , "no such property in this script: " & name
  End Select
End Function

Dim lastDescription

' Writes `value` into the property `name`: the error number of the write, 0 for none.
Function PutErr(name, value)
  On Error Resume Next
  Select Case name
    Case "strIpAddr": o.strIpAddr = value
    Case "iHttpPort": o.iHttpPort = value
    Case "iSvrID": o.iSvrID = value
    Case "bGroup": o.bGroup = value
    Case "bTour": o.bTour = value
    Case "bAux1": o.bAux1 = value
  End Select
  PutErr = Err.Number
  lastDescription = Err.Description
End Function

Sub ExpectRead(name, got, expected)
  Report Same(got, expected), name & " reads " & Show(expected) & " (VarType " & _
         VarType(expected) & ")", "read " & Show(got)
End Sub

' A write that is taken: the property then reads `expected`, type and value.
Sub ExpectTaken(name, value, expected)
  Dim e, got
  e = PutErr(name, value)
  got = ReadProp(name)
  Report e = 0 And Same(got, expected), name & " = " & Show(value) & " reads " & _
         Show(expected), "error " & e & " " & lastDescription & ", read " & Show(got)
End Sub

' A write that is refused with error `number`; the property keeps its value.
Sub ExpectRefused(name, value, number)
  Dim before, e, got
  before = ReadProp(name)
  e = PutErr(name, value)
  got = ReadProp(name)
  Report e = number, name & " = " & Show(value) & " raises " & number & " (" & _
         lastDescription & ")", "raised " & e & " " & lastDescription
  Report Same(got, before), name & " keeps " & Show(before) & " after " & Show(value), _
         "read " & Show(got)
End Sub

' Defaults, before any start (iOperPaneCtls is computed by the first module set-up).
ExpectRead "strIpAddr", o.strIpAddr, ""
ExpectRead "iHttpPort", o.iHttpPort, CLng(80)
ExpectRead "strIpAddrProxy", o.strIpAddrProxy, ""
ExpectRead "iHttpPortProxy", o.iHttpPortProxy, CLng(8080)
ExpectRead "iSvrID", o.iSvrID, CLng(0)
ExpectRead "strUserID", o.strUserID, ""
ExpectRead "strUserPWD", o.strUserPWD, ""
ExpectRead "iOperPaneCtls", o.iOperPaneCtls, CLng(0)
ExpectRead "bGroup", o.bGroup, True
ExpectRead "bTour", o.bTour, True
ExpectRead "bPower", o.bPower, True
ExpectRead "bLight", o.bLight, True
ExpectRead "bAux1", o.bAux1, False
ExpectRead "bAux2", o.bAux2, True

' Conversions on write, as VBScript's own conversion functions make them.
ExpectTaken "iHttpPort", "8081", CLng(8081)
ExpectTaken "strIpAddr", 42, "42"
ExpectTaken "bAux1", 5, True
ExpectTaken "bAux1", 0, False
ExpectTaken "bAux1", -1, True
ExpectTaken "bTour", "False", False
ExpectTaken "iSvrID", True, CLng(-1)
ExpectTaken "iHttpPort", 2.5, CLng(2)
ExpectTaken "iHttpPort", 3.5, CLng(4)
ExpectTaken "iHttpPort", 2147483647, CLng(2147483647)
ExpectTaken "iHttpPort", -2147483648, CLng(-2147483647 - 1)
ExpectTaken "iHttpPort", Empty, CLng(0)
ExpectTaken "strIpAddr", Empty, ""

' Refused writes leave the value written before.
ExpectTaken "iHttpPort", "8082", CLng(8082)
ExpectRefused "iHttpPort", "abc", 13
ExpectRefused "iHttpPort", "", 13
ExpectRefused "iHttpPort", Null, 13
ExpectRefused "iHttpPort", 1E20, 6
ExpectRefused "iHttpPort", 2147483648, 6
ExpectRefused "iHttpPort", "99999999999", 6
ExpectTaken "strIpAddr", "cam.local", "cam.local"
ExpectRefused "strIpAddr", Null, 13
ExpectRefused "bGroup", Null, 13
ExpectRefused "bGroup", "abc", 13

' Members the control does not have, and arguments where there are none.
Dim x, e
On Error Resume Next
x = o.iHttpPortt
e = Err.Number
Err.Clear
On Error GoTo 0
Report e = 438, "reading an unknown member raises 438", "raised " & e

On Error Resume Next
o.iHttpPortt = 1
e = Err.Number
Err.Clear
On Error GoTo 0
Report e = 438, "writing an unknown member raises 438", "raised " & e

On Error Resume Next
o.AboutBox 1
e = Err.Number
Err.Clear
On Error GoTo 0
Report e = 450, "AboutBox with an argument raises 450", "raised " & e

On Error Resume Next
x = o.iHttpPort(1)
e = Err.Number
Err.Clear
On Error GoTo 0
Report e = 450, "a property read with an argument raises 450", "raised " & e
ExpectRead "iHttpPort", o.iHttpPort, CLng(8082)

WScript.Echo "done"
