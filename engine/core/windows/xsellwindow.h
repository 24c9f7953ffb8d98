// The cross-sell window: it fills its child windows from "xsell/xsell.xml"
// (game descriptions with links, the site link, two centred texts) and opens
// the listed web pages. Scripts create it as "XSellWindow" and drive it
// through the functions it publishes while it lives.
#pragma once

#include <array>
#include <memory>
#include <set>

#include "core/windows/window.h"
#include "foundation/tstring.h"

class TLuaObjectWrapper;
class TXmlNode;

class TXSellWindow : public TWindow {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    // Publishes "SetupXSell" and "LaunchGameLink" on the window script.
    TXSellWindow();
    // Withdraws each of them that still calls this window.
    ~TXSellWindow() override;

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;

    // "SetupXSell": fills the window from "xsell/xsell.xml".
    void SetupXSell();
    // The same from a read document; without an "xsell" element the unused
    // entries are hidden and the windows centred all the same.
    void Setup(TXmlNode& document);
    // "LaunchGameLink": 0 opens the site link, 1 to 7 that game link.
    void LaunchGameLink(int index);

    // Places for game links; the screen has one more description.
    static constexpr int kGameLinks = 7;
    static constexpr int kEntries = 8;

private:
    struct TPublished {
        const char* name;
        std::unique_ptr<TLuaObjectWrapper> function;
    };

    void Publish();
    // Fills descriptions and links; returns the number of entries shown.
    int ReadGameInfo(TXmlNode& xsell);
    void SetDescription(int number, const TXmlNode& entry);
    void ReadSiteLink(const TXmlNode& xsell);
    void ReadCenterText(const TXmlNode& xsell);
    void SetChildText(const TString& name, const TString& text);
    void HideChild(const TString& name);
    void HideUnusedEntries(int shown);
    // Moves each window left and up by half of its bounding rectangle, once.
    void CentreWindows();

    std::array<TString, kGameLinks> mGameLinks;
    TString mSiteLink;
    // Serials of the windows already centred.
    std::set<int32_t> mCentred;
    std::array<TPublished, 2> mPublished;
};
