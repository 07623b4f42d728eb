#include "platform/ui/SliderCtrl.h"

#include "platform/ui/ControlPrivate.h"
#include "platform/ui/WndPrivate.h"

#include <QSlider>

// ---------------------------------------------------------------------------
// Sliders

BOOL CSliderCtrl::Create(DWORD style, const CRect& rect, CWnd* parent, UINT id)
{
    if (m_pWidget || !parent || !parent->GetWidget())
        return FALSE;
    auto* slider = new QSlider((style & TBS_VERT) ? Qt::Vertical : Qt::Horizontal, parent->GetWidget());
    slider->setRange(0, 100);
    slider->setTickPosition((style & TBS_NOTICKS) ? QSlider::NoTicks : QSlider::TicksBelow);
    slider->setGeometry(ToQRect(rect));
    m_dwStyle = style;
    auto tell = [slider](UINT code)
    {
        CSliderCtrl* self = Owner<CSliderCtrl>(slider);
        CWnd* p = self ? self->GetParent() : nullptr;
        if (!p)
            return;
        CDispatchGuard guard;
        const UINT pos = static_cast<UINT>(slider->value());
        if (slider->orientation() == Qt::Vertical)
            p->OnVScroll(code, pos, self);
        else
            p->OnHScroll(code, pos, self);
        if (code != SB_ENDSCROLL)
            p->SendNotify(self->GetDlgCtrlID(), TBN_POSCHANGED);
    };
    QObject::connect(slider, &QSlider::valueChanged, slider, [tell] { tell(SB_THUMBTRACK); });
    QObject::connect(slider, &QSlider::sliderReleased, slider, [tell] { tell(SB_ENDSCROLL); });
    AttachControl(slider, parent, id);
    ShowControl(style);
    return TRUE;
}

void CSliderCtrl::SetRange(int minPos, int maxPos, BOOL)
{
    if (auto* s = qobject_cast<QSlider*>(m_pWidget))
    {
        const QSignalBlocker block(s);
        s->setRange(minPos, maxPos);
    }
}

void CSliderCtrl::SetRangeMin(int minPos, BOOL redraw) { SetRange(minPos, GetRangeMax(), redraw); }
void CSliderCtrl::SetRangeMax(int maxPos, BOOL redraw) { SetRange(GetRangeMin(), maxPos, redraw); }

int CSliderCtrl::GetRangeMin() const
{
    auto* s = qobject_cast<QSlider*>(m_pWidget);
    return s ? s->minimum() : 0;
}

int CSliderCtrl::GetRangeMax() const
{
    auto* s = qobject_cast<QSlider*>(m_pWidget);
    return s ? s->maximum() : 0;
}

void CSliderCtrl::SetPos(int pos)
{
    if (auto* s = qobject_cast<QSlider*>(m_pWidget))
    {
        const QSignalBlocker block(s);
        s->setValue(pos);
    }
}

int CSliderCtrl::GetPos() const
{
    auto* s = qobject_cast<QSlider*>(m_pWidget);
    return s ? s->value() : 0;
}

void CSliderCtrl::SetTicFreq(int freq)
{
    if (auto* s = qobject_cast<QSlider*>(m_pWidget))
        s->setTickInterval(freq);
}

int CSliderCtrl::SetPageSize(int size)
{
    auto* s = qobject_cast<QSlider*>(m_pWidget);
    if (!s)
        return 0;
    const int old = s->pageStep();
    s->setPageStep(size);
    return old;
}

int CSliderCtrl::SetLineSize(int size)
{
    auto* s = qobject_cast<QSlider*>(m_pWidget);
    if (!s)
        return 0;
    const int old = s->singleStep();
    s->setSingleStep(size);
    return old;
}

void CSliderCtrl::MoveTo(int pos)
{
    if (auto* s = qobject_cast<QSlider*>(m_pWidget))
        if (s->isEnabled())
            s->setValue(pos);
}

void CSliderCtrl::TakeOverFrom(CWnd& old)
{
    if (auto* o = dynamic_cast<CSliderCtrl*>(&old))
        m_dwStyle = o->m_dwStyle;
}
