object S: TSample
  Items = (
    'unterminated
end
