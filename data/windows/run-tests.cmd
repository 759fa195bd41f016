@echo off
rem Runs Tavren's Windows test programs on this machine, one after another, and
rem writes test-summary.txt beside this file (each program's full output goes
rem to test-logs\). The tests open windows, bring them to the front, click and
rem type into them: leave the mouse and keyboard alone until the end.
setlocal EnableExtensions EnableDelayedExpansion
set "here=%~dp0"
cd /d "%here%"

set "summary=%here%test-summary.txt"
set "logs=%here%test-logs"
if exist "%logs%" rmdir /s /q "%logs%"
mkdir "%logs%"

rem The ANSI code page from the registry, as Windows sets it from the system
rem locale: 932 on a Japanese Windows.
set "acp=unknown"
for /f "tokens=1,3" %%a in ('reg query "HKLM\SYSTEM\CurrentControlSet\Control\Nls\CodePage" /v ACP 2^>nul') do (
    if /i "%%a"=="ACP" set "acp=%%b"
)

rem The tests start tavren.exe, which reads and writes the user's own settings
rem file: it is kept aside and put back at the end.
set "settings=%APPDATA%\Tavren\QVRL2.ini"
set "hadSettings=0"
if exist "%settings%" (
    set "hadSettings=1"
    copy /y "%settings%" "%logs%\QVRL2.ini.before" >nul
)

> "%summary%" echo Tavren Windows tests
>> "%summary%" ver
"%here%tavren.exe" --version > "%logs%\version.txt" 2>&1
for /f "usebackq delims=" %%v in ("%logs%\version.txt") do >> "%summary%" echo %%v
>> "%summary%" echo ANSI code page: %acp%
>> "%summary%" echo Started: %date% %time%
>> "%summary%" echo.

call :run tavren_unit_tests.exe
call :run tavren_win32_tests.exe
call :run tavren_win32_view_tests.exe
call :run tavren_win32_resources_tests.exe
call :run tavren_win32_e2e_tests.exe
call :run_at_144_dpi tavren_win32_dpi_tests.exe
call :run_on_japanese_windows tavren_win32_japanese_tests.exe
rem The captions are fitted in MS UI Gothic, which Japanese Windows ships.
call :run_on_japanese_windows tavren_win32_caption_tests.exe
call :run_on_utf8_code_page tavren_win32_utf8_code_page_tests.exe

if "%hadSettings%"=="1" (
    copy /y "%logs%\QVRL2.ini.before" "%settings%" >nul
) else if exist "%settings%" (
    del /f /q "%settings%"
)

>> "%summary%" echo.
>> "%summary%" echo Ended: %date% %time%
rem The whole output of each program that failed, for its messages. (The
rem pattern is unquoted in the folder itself: Wine's cmd matches no quoted one.)
set "failed=0"
pushd "%logs%"
for %%f in (*.failed) do (
    set "failed=1"
    >> "%summary%" echo.
    >> "%summary%" echo ===== %%~nf.exe =====
    type "%%~nf.log" >> "%summary%"
)
popd
echo.
type "%summary%"
echo.
echo Done. Please send test-summary.txt from %here%
if /i not "%~1"=="/nopause" pause
exit /b %failed%

rem ---------------------------------------------------------------------------
rem :run PROGRAM - runs one test program and adds its result to the summary:
rem PASS, or FAIL with the names of its failing tests.
:run
call :test %~1
type "%logs%\%~n1.result" >> "%summary%"
exit /b 0

rem :test PROGRAM - runs it, its output into test-logs\PROGRAM.log, its result
rem into test-logs\PROGRAM.result (and test-logs\PROGRAM.failed if it failed).
:test
echo Running %~1 ...
"%here%%~1" --gtest_color=no > "%logs%\%~n1.log" 2>&1
set "code=%errorlevel%"
if "%code%"=="0" (
    > "%logs%\%~n1.result" echo PASS     %~1
    exit /b 0
)
copy nul "%logs%\%~n1.failed" >nul
> "%logs%\%~n1.result" echo FAIL     %~1
rem GoogleTest ends a failed test with "[  FAILED  ] Suite.Name (12 ms)" and
rem then lists them again under "[  FAILED  ] 2 tests, listed below:". Only
rem cmd's own tokens read the log: Wine's findstr and find, under which this
rem script is tested too, report a match whether there is one or not; and its
rem cmd runs a block after chained ifs wrongly, hence one command a line.
set "named=0"
set "listing=0"
for /f "usebackq tokens=1-5 delims= " %%a in ("%logs%\%~n1.log") do (
    if "%%e"=="tests," set "listing=1"
    if "%%e"=="test," set "listing=1"
    if "!listing!"=="0" if "%%a %%b %%c"=="[ FAILED ]" if not "%%e"=="" set "named=1"
    if "!listing!"=="0" if "%%a %%b %%c"=="[ FAILED ]" if not "%%e"=="" >> "%logs%\%~n1.result" echo          %%d
)
if "%named%"=="0" >> "%logs%\%~n1.result" echo          exit code %code%, no failing test named: the program ended early
exit /b 0

rem :run_at_144_dpi PROGRAM - these tests check the view at 150 %% display
rem scaling (144 DPI), the system's DPI a DPI-aware program is told, and say so
rem when it is another: then nothing was tested.
:run_at_144_dpi
call :test %~1
set "otherDpi=0"
for /f "usebackq tokens=1-5 delims= " %%a in ("%logs%\%~n1.log") do (
    if "%%a %%b %%c %%d %%e"=="not run at 144 DPI" set "otherDpi=1"
)
if "%otherDpi%"=="1" (
    del "%logs%\%~n1.failed"
    > "%logs%\%~n1.result" echo SKIPPED  %~1: needs display scaling 150 %%, 144 DPI [Settings, System, Display; sign out and in; run again]
)
type "%logs%\%~n1.result" >> "%summary%"
exit /b 0

rem :run_on_japanese_windows PROGRAM - these tests need a Japanese system locale
rem (ANSI code page 932); on any other they are not run.
:run_on_japanese_windows
if "%acp%"=="932" (
    call :run %~1
) else (
    >> "%summary%" echo SKIPPED  %~1: needs a Japanese system locale, ANSI code page 932; this machine's is %acp%
)
exit /b 0

rem :run_on_utf8_code_page PROGRAM - these tests need the ANSI code page UTF-8
rem (65001), which Windows' "Use Unicode UTF-8 for worldwide language support"
rem sets; on any other they are not run.
:run_on_utf8_code_page
if "%acp%"=="65001" (
    call :run %~1
) else (
    >> "%summary%" echo SKIPPED  %~1: needs Use Unicode UTF-8 for worldwide language support, ANSI code page 65001 [Region, Administrative, Change system locale; restart]; this machine's is %acp%
)
exit /b 0
