@echo off
rem The Windows tests of kmlaunch, as scripts/test runs them:
rem   run-tests.cmd [dpi144^|codepage^|quick^|exercise]
rem   (none)    every test program
rem   dpi144    the layout, icon, extent and DPI awareness tests alone, on a display at 150 %
rem   codepage  every test program again, on a system of another code page
rem   quick     the store, text and window tests alone
rem   exercise  every test program, then the exerciser's short pass: it takes the keyboard and
rem             mouse for a few minutes, so it runs only when asked
rem Each program's output is kept in logs\NAME.log beside this file; a test past its limit
rem (KM_TEST_LIMIT seconds, 300 unless set) fails by name and ends its program. The last line
rem counts test cases, the exerciser's pass as one: "N passed, N failed, N skipped"; exit code 0
rem only when none failed. Nothing is written but logs\ and the user's temporary folder. gtest's
rem GTEST_TOTAL_SHARDS and GTEST_SHARD_INDEX run a share of every program; the first, the
rem exerciser. This folder's name may hold & ! and spaces: it is always quoted.
setlocal
set "here=%~dp0"
rem Files unpacked from a downloaded ZIP carry its mark, and Windows stops what the tests start.
dir /r "%here%tests\probe.exe" 2> nul | find ":Zone.Identifier:" > nul
if not errorlevel 1 (
  echo Marked as downloaded, so Windows would stop the tests with its security warning. Unblock
  echo the ZIP: right-click it, Properties, tick "Unblock", OK, and unpack it again.
  exit /b 2
)
cd /d "%here%" && if not exist logs mkdir logs
set /a passed=0, failed=0, skipped=0
set "failures=%here%logs\failures.txt"
type nul > "%failures%"
if "%~1"=="dpi144" (
  set KM_EXPECT_DPI=144
  call :gtest window_tests "--gtest_filter=Layout.*:Icons.*:ListPane.HorizontalExtent*"
  call :gtest startup_tests "--gtest_filter=Startup.TheManifestMakesTheWindow*"
  goto summary
)
set brief=
if "%~1"=="codepage" set brief=--gtest_brief=1
call :gtest store_tests "%brief%"
call :gtest text_tests "%brief%"
call :gtest window_tests "%brief%"
if "%~1"=="quick" goto summary
call :gtest startup_tests "%brief%"
set first=yes
if defined GTEST_SHARD_INDEX if not "%GTEST_SHARD_INDEX%"=="0" set first=
if "%~1"=="exercise" if defined first call :exercise 1 300
:summary
if %failed% gtr 0 (
  echo what failed:
  type "%failures%"
)
echo %passed% passed, %failed% failed, %skipped% skipped
if %failed% gtr 0 exit /b 1
exit /b 0

rem A test program: its output to its log, its counts added up.
:gtest
set "name=%~1"
set "KM_TEST_COUNTS=%here%logs\%name%.counts"
if exist "%KM_TEST_COUNTS%" del "%KM_TEST_COUNTS%"
"%here%tests\%name%.exe" %~2 > "%here%logs\%name%.log" 2>&1
set code=%errorlevel%
set /a own=0, ownPassed=0, ownSkipped=0
if exist "%KM_TEST_COUNTS%" for /f "usebackq tokens=1-3*" %%a in ("%KM_TEST_COUNTS%") do (
  set /a ownPassed+=%%a, own+=%%b, ownSkipped+=%%c
  if not "%%d"=="" >> "%failures%" echo   %%d
)
set /a passed+=ownPassed, failed+=own, skipped+=ownSkipped
if not exist "%KM_TEST_COUNTS%" set "code=%code% without its counts"
echo %name%: %ownPassed% passed, %own% failed, %ownSkipped% skipped, exit code %code%
rem A program that ended badly, or never ran, without a failed test of its own: one failure.
if not "%code%"=="0" if "%own%"=="0" (
  set /a failed+=1
  >> "%failures%" echo   %name% ended with exit code %code%, see logs\%name%.log
)
exit /b 0
rem The random exerciser, in a folder of its own beside its copy of the program.
:exercise
set "folder=%TEMP%\kmlaunch-exercise"
if exist "%folder%" rd /s /q "%folder%" > nul 2>&1
mkdir "%folder%" > nul 2>&1
for %%f in (kmlaunch.exe kmlaunch.exe.manifest tests\probe.exe tests\exerciser.exe) do (
  copy /y "%here%%%f" "%folder%" > nul
)
pushd "%folder%"
exerciser.exe %1 %2 > "%here%logs\exerciser.log" 2>&1
set code=%errorlevel%
popd
type "%here%logs\exerciser.log"
if "%code%"=="0" (set /a passed+=1) else (
  set /a failed+=1
  >> "%failures%" echo   the exerciser ended with exit code %code%, see logs\exerciser.log
)
rd /s /q "%folder%" > nul 2>&1
exit /b 0
