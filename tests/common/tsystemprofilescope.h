#pragma once

#include "platform/core/tsystemprofile.h"

namespace orvo::test {

/// Makes `profile` the process-wide system profile for one scope and puts back the one
/// it found, however the scope is left.
class TSystemProfileScope
{
public:
    explicit TSystemProfileScope(const TSystemProfile& profile) : FSaved(TSystemProfile::Current())
    {
        TSystemProfile::SetCurrent(profile);
    }
    ~TSystemProfileScope() { TSystemProfile::SetCurrent(FSaved); }
    TSystemProfileScope(const TSystemProfileScope&) = delete;
    TSystemProfileScope& operator=(const TSystemProfileScope&) = delete;

    /// A profile with the system's visual themes on or off, the rest as by default.
    static TSystemProfile WithThemes(bool enabled)
    {
        TSystemProfile profile;
        profile.SetThemesEnabled(enabled);
        return profile;
    }

private:
    TSystemProfile FSaved;
};

} // namespace orvo::test
