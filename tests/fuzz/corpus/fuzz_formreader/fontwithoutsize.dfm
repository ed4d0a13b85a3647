object S: TSample
  Font.Name = 'Serif'
  Value = 'text'
  Ratio = 1.5E300
end
