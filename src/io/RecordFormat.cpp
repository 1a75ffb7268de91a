#include "io/RecordFormat.hpp"

void appendRecordLine(TextBuffer& out, const Klient& klient) {
    out.appendField(klient.rc.cisloField());
    out.append(',');
    out.appendField(klient.menoField());
    out.append(',');
    out.appendField(klient.priezviskoField());
    out.append(',');
    out.appendField(klient.ulicaField());
    out.append(',');
    out.appendField(klient.mestoField());
    out.append(',');
    out.appendField(klient.povolanieField());
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
