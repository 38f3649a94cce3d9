@echo off
rem Runs every Windows-side test program in this folder, from a Command Prompt
rem in any folder: run-tests.cmd. It ends with one line "N passed, N failed,
rem N skipped" (the test rows of all programs); exit code 1 when one failed.
rem What it printed, with what the PC offers, goes to results.txt beside it.
setlocal enabledelayedexpansion
cd /d "%~dp0"
rem System tools by their full path: cmd looks for a bare name in this folder first.
set "reg=%SystemRoot%\System32\reg.exe"
set "results=%~dp0results.txt"
rem The runner's own files live beside it, not in %TEMP%: the copy of the
rem settings holds the music path. A run stopped with Ctrl+C leaves them here
rem (each program has put the settings back); the next run starts afresh.
set "out=%~dp0run-tests.out"
set "skips=%~dp0run-tests.skipped"
set "saved=%~dp0settings-before-tests.reg"
del "%out%" "%skips%" "%saved%" >nul 2>&1
echo Ferrovane ScreenSaver tests: under a minute.
echo Windows open over the whole screen and a short tone plays. Leave the mouse
echo and the keyboard alone until the last line shows: a key or a mouse move
echo ends a screen saver window, and its test fails. Your screen saver settings
echo are as they were when it ends; nothing is left behind.
echo.
for %%t in (win.*.exe) do if not defined first set "first=%%t"
rem The settings as they are: each program puts them back, and so does this runner.
"%first%" --settings > "%out%"
set /p settings=< "%out%"
if not "%settings%"=="0" "%reg%" export "HKCU\Software\Vantrel" "%saved%" /y >nul
> "%results%" echo Ferrovane ScreenSaver tests, %DATE% %TIME%
ver >> "%results%"
"%first%" --about >> "%results%"
type "%results%"
set passed=0
set failed=0
set skipped=0
for %%t in (win.*.exe) do call :run %%t
echo.
if exist "%skips%" (
  echo Skipped, as this PC lacks what they need:
  type "%skips%"
  type "%skips%" >> "%results%"
)
del "%out%" "%skips%" "%saved%" >nul 2>&1
set "summary=%passed% passed, %failed% failed, %skipped% skipped"
echo Results, to send back: %results%
>> "%results%" echo %summary%
echo %summary%
if %failed% neq 0 exit /b 1
exit /b 0

rem :run PROGRAM  runs one program and counts its rows from GoogleTest's summary.
:run
echo === %1
>> "%results%" echo === %1
"%1" > "%out%" 2>&1
set rc=%errorlevel%
type "%out%"
type "%out%" >> "%results%"
set ran=
set ok=0
set skip=0
for /f "usebackq tokens=1-8" %%a in ("%out%") do (
  if "%%a"=="[==========]" if "%%h"=="ran." set ran=%%b
  if "%%a %%b %%c"=="[ PASSED ]" set ok=%%d
  if "%%a %%b %%c %%e"=="[ SKIPPED ] tests," set skip=%%d
  if "%%a %%b %%c %%e"=="[ SKIPPED ] test," set skip=%%d
)
for /f "usebackq tokens=1,*" %%a in ("%out%") do if "%%a"=="skipped:" >> "%skips%" echo %%a %%b
rem A program that crashed, hung or ended early counts as one failed row.
set bad=1
if defined ran set /a bad=ran-ok-skip
if %rc% neq 0 if %bad% equ 0 set bad=1
"%1" --settings > "%out%"
set /p now=< "%out%"
if not "%now%"=="%settings%" call :restore %1
if %bad% neq 0 echo FAILED: %1
set /a passed+=ok, failed+=bad, skipped+=skip
exit /b 0

:restore
echo FAILED: %1 changed the screen saver settings; they are put back
set /a bad+=1
"%reg%" delete "HKCU\Software\Vantrel" /f >nul 2>&1
if exist "%saved%" "%reg%" import "%saved%" >nul 2>&1
exit /b 0
