// The main window's benchmark: the refresh of 100,000 cookies through the
// window (inventory, list view, controls, painting) against the refresh of
// the inventory and its list model alone, then scrolling and selecting, and
// the painting of a row whose name is 8 MB long.
// Needs a display: scripts/with-display.sh build/jarvane_gui_bench
#include "app/app_folders.h"
#include "platform/path.h"
#include "ui/cookie_dlg.h"
#include "ui/cookie_list_view.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>

namespace
{
constexpr int COOKIE_COUNT = 100000;
constexpr int RUNS = 5;

double MedianMs(const std::function<void()>& fnRun)
{
    std::vector<double> times;
    for (int i = 0; i < RUNS; ++i)
    {
        const auto tStart = std::chrono::steady_clock::now();
        fnRun();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - tStart)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void YieldAll()
{
    for (int i = 0; i < 5; ++i)
        wxYield();
}

std::string MakeFixture()
{
    std::string strFolder =
        (std::filesystem::temp_directory_path() / "jarvane-window-bench").string();
    std::filesystem::remove_all(strFolder);
    std::filesystem::create_directories(strFolder);
    const std::string strCookies = AppendPathPart(strFolder, "cookies.txt");
    std::ofstream cookies(strCookies, std::ios::binary);
    cookies << "# Netscape HTTP Cookie File\r\n";
    for (int i = 0; i < COOKIE_COUNT; ++i)
        cookies << "host" << (i * 7919) % COOKIE_COUNT << ".example.com\tTRUE\t/\tFALSE\t0\tid\t"
                << i << "\r\n";
    std::ofstream(AppendPathPart(strFolder, "Location.DAT"), std::ios::binary)
        << "[NS]\r\nLocation 1=" << strCookies << "\r\n";
    // Every fifth cookie protected, so that the State sort has work to do.
    std::ofstream prot(AppendPathPart(strFolder, "NSPROT.DAT"), std::ios::binary);
    for (int i = 0; i < COOKIE_COUNT; i += 5)
        prot << "host" << i << ".example.com\r\n";
    return strFolder;
}

// One Netscape cookie whose name (the text before the first tab) is 8 MB long.
void BenchLongName(const std::string& strFolder)
{
    const std::string strCookies = AppendPathPart(strFolder, "long.txt");
    std::ofstream(strCookies, std::ios::binary)
        << "# Netscape HTTP Cookie File\r\n"
        << std::string(8 << 20, 'n') << "\tTRUE\t/\tFALSE\t0\tid\t1\r\n";
    std::ofstream(AppendPathPart(strFolder, "Location.DAT"), std::ios::binary)
        << "[NS]\r\nLocation 1=" << strCookies << "\r\n";
    std::filesystem::remove(AppendPathPart(strFolder, "NSPROT.DAT"));
    CCookieDlg* pDlg = new CCookieDlg(nullptr);
    pDlg->Show();
    YieldAll();
    const double nRefresh = MedianMs(
        [&]
        {
            pDlg->RefreshCookies();
            pDlg->Update();
        });
    const double nPaint = MedianMs(
        [&]
        {
            pDlg->m_CookieList->Refresh();
            pDlg->m_CookieList->Update();
        });
    std::printf("8 MB name: refresh through the window %.1f ms, paint its row %.2f ms\n", nRefresh,
                nPaint);
    pDlg->Destroy();
    YieldAll();
}
} // namespace

int main(int argc, char** argv)
{
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv))
    {
        std::fprintf(stderr, "jarvane_gui_bench: no display (run under scripts/with-display.sh)\n");
        return 1;
    }
    delete wxLog::SetActiveTarget(new wxLogStderr);
    wxTheApp->CallOnInit();

    const std::string strFolder = MakeFixture();
    GetAppFolders().m_strCurrentFolder = strFolder;
    {
        CCookieInventory inventory(strFolder);
        inventory.SetLocations(EBrowser::Netscape, {AppendPathPart(strFolder, "cookies.txt")});
        CCookieDlg* pDlg = new CCookieDlg(nullptr);
        pDlg->Show();
        YieldAll();

        // Side by side, alternating, so that both see the same disk cache.
        std::vector<double> model, window;
        for (int i = 0; i < RUNS; ++i)
        {
            model.push_back(MedianMs([&] { inventory.RefreshCookies(); }));
            window.push_back(MedianMs(
                [&]
                {
                    pDlg->RefreshCookies();
                    pDlg->Update();
                }));
        }
        std::sort(model.begin(), model.end());
        std::sort(window.begin(), window.end());
        const double nModel = model[RUNS / 2], nWindow = window[RUNS / 2];
        std::printf("rows: %d\n", pDlg->m_CookieList->GetItemCount());
        std::printf("refresh, inventory and model only: %.1f ms\n", nModel);
        std::printf("refresh through the window:        %.1f ms (%.2fx)\n", nWindow,
                    nWindow / nModel);

        CCookieListView* pList = pDlg->m_CookieList;
        const double nScroll = MedianMs(
            [&]
            {
                pList->EnsureVisible(COOKIE_COUNT - 1);
                pList->Update();
                pList->EnsureVisible(0);
                pList->Update();
            });
        std::printf("scroll to the end and back, painted: %.2f ms\n", nScroll);

        int nRow = 0;
        const double nSelect = MedianMs(
            [&]
            {
                nRow += 12345;
                pList->SetItemState(nRow % COOKIE_COUNT, wxLIST_STATE_SELECTED,
                                    wxLIST_STATE_SELECTED);
                YieldAll(); // the window takes the selection and updates its controls
            });
        std::printf("select a row (taken into the model, controls updated): %.2f ms\n", nSelect);

        const double nProtect = MedianMs([&] { pDlg->OnProtect(); });
        std::printf("protect the selected rows: %.2f ms\n", nProtect);
        pDlg->Destroy();
        YieldAll();
    }
    BenchLongName(strFolder);
    std::filesystem::remove_all(strFolder);
    wxTheApp->OnExit();
    wxEntryCleanup();
    return 0;
}
