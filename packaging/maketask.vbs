' maketask.vbs: completes the "TAV Dashboard" logon task after SCHTASKS registered it
' from task.xml. The task then starts TAVDashboard.exe from this script's folder, at the
' logon of the user running this script, also on batteries and late when a start was missed.
' Where SCHTASKS could not register the task, it is registered here from scratch.
' Every failure is silent: starting with Windows is a convenience.
Option Explicit
On Error Resume Next

Const TASK_NAME = "TAV Dashboard"
Const TASK_TRIGGER_LOGON = 9
Const TASK_ACTION_EXEC = 0
Const TASK_CREATE_OR_UPDATE = 6
Const TASK_LOGON_INTERACTIVE_TOKEN = 3
Const TASK_INSTANCES_IGNORE_NEW = 2

Dim fso, network, folder, program, user, service, root, task, definition, trigger, action
Set fso = CreateObject("Scripting.FileSystemObject")
Set network = CreateObject("WScript.Network")
folder = fso.GetParentFolderName(WScript.ScriptFullName)
program = fso.BuildPath(folder, "TAVDashboard.exe")
user = network.UserDomain & "\" & network.UserName

' The program starts SCHTASKS and this script side by side without waiting: when SCHTASKS is
' still at work, its /F would replace the task this script registers with the task.xml one,
' whose relative program path never starts. Wait until it is done (at most a minute).
Dim wmi, waited
Err.Clear
Set wmi = GetObject("winmgmts:{impersonationLevel=impersonate}!\\.\root\cimv2")
If Err.Number = 0 Then
    For waited = 1 To 120
        ' An error in the condition goes on inside the If: the loop then ends.
        If wmi.ExecQuery("SELECT ProcessId FROM Win32_Process WHERE CommandLine LIKE '%schtasks%/create%task.xml%'").Count = 0 Then Exit For
        WScript.Sleep 500
    Next
End If
Err.Clear

' The last item of the given type in a task's triggers or actions; a new one when there is none.
Function ItemOfType(collection, itemType)
    On Error Resume Next
    Dim n
    Set ItemOfType = Nothing
    For n = 1 To collection.Count
        If collection.Item(n).Type = itemType Then Set ItemOfType = collection.Item(n)
    Next
    If ItemOfType Is Nothing Then Set ItemOfType = collection.Create(itemType)
End Function

Set service = CreateObject("Schedule.Service")
service.Connect
If Err.Number <> 0 Then WScript.Quit 1
Set root = service.GetFolder("\")

Err.Clear
Set task = root.GetTask(TASK_NAME)
If Err.Number = 0 Then
    Set definition = task.Definition
Else
    Err.Clear
    Set definition = service.NewTask(0)
    definition.RegistrationInfo.Description = "Starts TAV Dashboard when you log on."
End If

' The logon trigger of this user only (none yet: add one).
Set trigger = ItemOfType(definition.Triggers, TASK_TRIGGER_LOGON)
trigger.UserId = user
trigger.Enabled = True

' One action: this folder's program, started in this folder.
Set action = ItemOfType(definition.Actions, TASK_ACTION_EXEC)
action.Path = program
action.WorkingDirectory = folder

definition.Principal.UserId = user
definition.Principal.LogonType = TASK_LOGON_INTERACTIVE_TOKEN
definition.Settings.DisallowStartIfOnBatteries = False
definition.Settings.StopIfGoingOnBatteries = False
definition.Settings.StartWhenAvailable = True
definition.Settings.ExecutionTimeLimit = "PT0S"
definition.Settings.MultipleInstances = TASK_INSTANCES_IGNORE_NEW
definition.Settings.Enabled = True

Err.Clear
root.RegisterTaskDefinition TASK_NAME, definition, TASK_CREATE_OR_UPDATE, user, Empty, TASK_LOGON_INTERACTIVE_TOKEN
If Err.Number <> 0 Then WScript.Quit 1
WScript.Quit 0
