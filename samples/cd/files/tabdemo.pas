{ Vorführprogramm zu Tabello: zeigt die Kundendaten aus DATEN\KUNDEN.TXT
  in einem Datengitter an, gruppiert nach Ort. }
program TabDemo;

uses Forms, Tabello;

var
  Gitter: TTabello;

begin
  Application.Initialize;
  Gitter := TTabello.Create(Application);
  Gitter.Aktiv := True;
  Application.Run;
end.
