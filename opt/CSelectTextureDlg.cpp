#include "opt/CSelectTextureDlg.h"

#include "framework/UserInterface.h"

int CSelectTextureDlg::DoModal()
{
    return AfxGetUserInterface().PickTexture(m_textureNames, m_nSelected);
}
