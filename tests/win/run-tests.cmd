@echo off
rem Runs every Windows-side test program in this folder and ends with one
rem line "N passed, N failed"; exit code 1 when one failed. Start it from a
rem Command Prompt in any folder: run-tests.cmd
setlocal enabledelayedexpansion
cd /d "%~dp0"
set passed=0
set failed=0
for %%t in (win.*.exe) do (
  echo === %%t
  "%%t"
  if !errorlevel! equ 0 (set /a passed+=1) else (set /a failed+=1 & echo FAILED: %%t)
)
echo %passed% passed, %failed% failed
if %failed% neq 0 exit /b 1
