{ {TITLE} {VERSION} - Komponente für die Pandex-Reihe.
  Beispiel-Unit der Vitrine-CD: nur das Gerüst, damit sich das Archiv
  entpacken und die Unit übersetzen lässt. }
unit {UNIT};

interface

uses Classes;

type
  T{UNIT} = class(TComponent)
  private
    FAktiv: Boolean;
  public
    constructor Create(AOwner: TComponent); override;
  published
    property Aktiv: Boolean read FAktiv write FAktiv default True;
  end;

procedure Register;

implementation

constructor T{UNIT}.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FAktiv := True;
end;

procedure Register;
begin
  RegisterComponents('Vitrine', [T{UNIT}]);
end;

end.
