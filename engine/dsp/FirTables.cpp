#include "engine/dsp/FirTables.h"

#include "engine/dsp/FirTableData.h"

//------------------------------------------------------------------------------
FirTable DirectFirTable(int rate, int factor)
{
    const bool exact88200 = rate == 88200;
    switch (factor)
    {
    case 2:
        return exact88200 ? FirTable{kFirDirect88200x2, kFirDirect88200x2Length}
                          : FirTable{kFirDirectx2, kFirDirectx2Length};
    case 4:
        return exact88200 ? FirTable{kFirDirect88200x4, kFirDirect88200x4Length}
                          : FirTable{kFirDirectx4, kFirDirectx4Length};
    default:
        return exact88200 ? FirTable{kFirDirect88200x6, kFirDirect88200x6Length}
                          : FirTable{kFirDirectx6, kFirDirectx6Length};
    }
}

//------------------------------------------------------------------------------
FirTable BlockFirTable(int rate, int factor)
{
    const bool exact48000 = rate == 48000;
    switch (factor)
    {
    case 2:
        return exact48000 ? FirTable{kFirBlock48000x2, kFirBlock48000x2Length}
                          : FirTable{kFirBlockx2, kFirBlockx2Length};
    case 4:
        return exact48000 ? FirTable{kFirBlock48000x4, kFirBlock48000x4Length}
                          : FirTable{kFirBlockx4, kFirBlockx4Length};
    case 8:
        return exact48000 ? FirTable{kFirBlock48000x8, kFirBlock48000x8Length}
                          : FirTable{kFirBlockx8, kFirBlockx8Length};
    default:
        return exact48000 ? FirTable{kFirBlock48000x12, kFirBlock48000x12Length}
                          : FirTable{kFirBlockx12, kFirBlockx12Length};
    }
}
