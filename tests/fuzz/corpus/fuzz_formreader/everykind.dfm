object Sample1: TSample
  Active = True
  Count = -42
  Big = 9000000000
  FrameColor = clRed
  Ratio = 0.1
  Text = 'it''s'#13#10'next'
  Separator = ';'
  Shape = shCircle
  Features = [ftBorder, ftShadow]
  Items = (
    'a'
    ''
    'c''d')
  Value = 7
  Font.Color = clNavy
  Font.Height = -15
  Font.Name = 'Serif'
  Font.Style = [fsBold]
  Data = {00FF10}
  Title.Caption = 'Head'
  Parts = <
    item
      Name = 'first'
    end
    item
      Size = 20
    end>
end
