#include "io/RecordFormat.hpp"

void appendRecordLine(TextBuffer& out, const Klient& klient) {
    out.appendField(klient.rc.cisloPole());
    out.append(',');
    out.appendField(klient.menoPole());
    out.append(',');
    out.appendField(klient.priezviskoPole());
    out.append(',');
    out.appendField(klient.ulicaPole());
    out.append(',');
    out.appendField(klient.mestoPole());
    out.append(',');
    out.appendField(klient.povolaniePole());
    out.append(',');
    out.appendNumber(klient.getPlat());
    out.append(',');
    out.appendNumber(klient.getPocetUverov());
    out.append(',');
    out.appendNumber(klient.getSumaUverov());
    out.append(',');
    out.appendNumber(klient.getBonita());
    out.append(',');
    out.appendNumber(klient.getSplacalNacas());
    out.append('\n');
}
