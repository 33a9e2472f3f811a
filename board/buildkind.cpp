#include "board/buildkind.h"

#include "board/texts.h"

const BuildKind& BuildKind::standard()
{
    static const BuildKind k{false, texts::Caption, texts::ApplicationTitle, texts::HeaderOnlyBox,
                             texts::HeaderOnlyLog, false, true};
    return k;
}

const BuildKind& BuildKind::smallScreen()
{
    static const BuildKind k{true, texts::SmallCaption, texts::SmallApplicationTitle, texts::SmallHeaderOnlyBox,
                             texts::SmallHeaderOnlyLog, true, false};
    return k;
}
