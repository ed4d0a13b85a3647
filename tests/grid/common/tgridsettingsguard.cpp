#include "grid/common/tgridsettingsguard.h"

#include "grid/columns/torvodbgridcolumns.h"
#include "grid/dbgrid/orvolistsettings.h"
#include "grid/dbgrid/torvocustomdbgrid.h"
#include "grid/filter/torvofilterdialect.h"
#include "grid/totals/torvocolumntotalvalue.h"

namespace orvo::test {

TGridSettingsGuard::TGridSettingsGuard(TExceptionHandler::Handler handler)
    : FHandler(std::move(handler)), FProfile(TSystemProfile::Current()), FFormat(TFormatSettings::Default()),
      FAutoNumberFormat(TOrvoCustomDBGrid::AutoNumberFormat()),
      FUpdateDelay(TOrvoCustomDBGrid::UpdateDelay()), FTotalNullText(TOrvoColumnTotalValue::TotalNullText()),
      FNumberColumnCaption(TOrvoDBGridColumns::NumberColumnCaption()),
      FSelectColumnCaption(TOrvoDBGridColumns::SelectColumnCaption()),
      FExpandColumnCaption(TOrvoDBGridColumns::ExpandColumnCaption()),
      FAutoColumnWidth(TOrvoDBGridColumns::AutoColumnWidth()), FMaxListRows(TOrvoListSettings::MaxListRows()),
      FMaxListWidth(TOrvoListSettings::MaxListWidth()),
      FListAnimationDelay(TOrvoListSettings::ListAnimationDelay()),
      FListMouseTracking(TOrvoListSettings::ListMouseTracking()),
      FListCaptions(TOrvoListSettings::ListCaptions()), FClauseCaptions(TOrvoFilterDialect::ClauseCaptions()),
      FExpressionTemplates(TOrvoFilterDialect::ExpressionTemplates()),
      FNullTemplates(TOrvoFilterDialect::NullTemplates())
{}

TGridSettingsGuard::~TGridSettingsGuard()
{
    TSystemProfile::SetCurrent(FProfile);
    TFormatSettings::SetDefault(FFormat);
    TOrvoCustomDBGrid::AutoNumberFormat() = FAutoNumberFormat;
    TOrvoCustomDBGrid::SetUpdateDelay(FUpdateDelay);
    TOrvoColumnTotalValue::SetTotalNullText(FTotalNullText);
    TOrvoDBGridColumns::NumberColumnCaption() = FNumberColumnCaption;
    TOrvoDBGridColumns::SelectColumnCaption() = FSelectColumnCaption;
    TOrvoDBGridColumns::ExpandColumnCaption() = FExpandColumnCaption;
    TOrvoDBGridColumns::AutoColumnWidth() = FAutoColumnWidth;
    TOrvoListSettings::MaxListRows() = FMaxListRows;
    TOrvoListSettings::MaxListWidth() = FMaxListWidth;
    TOrvoListSettings::ListAnimationDelay() = FListAnimationDelay;
    TOrvoListSettings::ListMouseTracking() = FListMouseTracking;
    TOrvoListSettings::ListCaptions() = FListCaptions;
    TOrvoFilterDialect::ClauseCaptions() = FClauseCaptions;
    TOrvoFilterDialect::ExpressionTemplates() = FExpressionTemplates;
    TOrvoFilterDialect::NullTemplates() = FNullTemplates;
}

} // namespace orvo::test
