program Nest;
{ A block comment
  (* with a nested one *)
  and this line is still a comment }
(* outer { inner } still outer
   *) var Count: Integer; // trailing
/* a C-style pair */ const Mask = $FF; Tab = #9; Bell = #$07;
{ first } { second
  (* the nest does not count: the first closing brace ends it } x := 'it''s';
(* unclosed to the end of file
   begin
     Count := 0;
   end.
