#pragma once

#include <QString>

#include <functional>

namespace orvo {

/// What the system-version probes answer from: the operating system's version
/// and build, whether visual themes are on, and the user's language. There is
/// one process-wide profile; it defaults to the newest system, and tests set
/// another to reach the older branches of every table.
class TSystemProfile
{
public:
    static constexpr int LangEnglish = 9;
    static constexpr int LangKorean = 18;
    /// Builds above this number belong to the newest system generation.
    static constexpr int NewestSystemBuildThreshold = 21999;

    /// Reads the build number as the system stores it: text, possibly missing.
    using TBuildNumberSource = std::function<QString()>;

    int MajorVersion() const { return FMajorVersion; }
    void SetMajorVersion(int value) { FMajorVersion = value; }
    int MinorVersion() const { return FMinorVersion; }
    void SetMinorVersion(int value) { FMinorVersion = value; }
    /// The source's number when a source is set (0 when its text is missing or not a
    /// number), the stored build number otherwise.
    int BuildNumber() const;
    void SetBuildNumber(int value) { FBuildNumber = value; }
    const TBuildNumberSource& BuildNumberSource() const { return FBuildNumberSource; }
    void SetBuildNumberSource(TBuildNumberSource source) { FBuildNumberSource = std::move(source); }
    bool ThemesEnabled() const { return FThemesEnabled; }
    void SetThemesEnabled(bool value) { FThemesEnabled = value; }
    int PrimaryLanguageId() const { return FPrimaryLanguageId; }
    void SetPrimaryLanguageId(int value) { FPrimaryLanguageId = value; }
    bool FarEast() const { return FFarEast; }
    void SetFarEast(bool value) { FFarEast = value; }

    /// True when the version is at least major.minor.
    bool CheckVersion(int major, int minor) const;
    /// True when the build number is above NewestSystemBuildThreshold.
    bool IsNewestSystemBuild() const { return BuildNumber() > NewestSystemBuildThreshold; }
    bool IsKorean() const { return FPrimaryLanguageId == LangKorean; }

    static const TSystemProfile& Current();
    /// Replaces the process-wide profile; TSystemProfile() restores the defaults.
    static void SetCurrent(const TSystemProfile& profile);

private:
    int FMajorVersion = 10;
    int FMinorVersion = 0;
    int FBuildNumber = 22631;
    TBuildNumberSource FBuildNumberSource;
    bool FThemesEnabled = true;
    int FPrimaryLanguageId = LangEnglish;
    bool FFarEast = false;
};

} // namespace orvo
