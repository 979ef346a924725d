MODULE Cell1
  CONST robtarget pHome:=[[812.5,0,1045],[0,0,-1,0],[0,0,0,0],[9E+09,9E+09,9E+09,9E+09,9E+09,9E+09]];
  CONST robtarget pPick:=[[600,-200,300],[0.5,0.5,0.5,0.5],[0,0,0,1],[9E+09,9E+09,9E+09,9E+09,9E+09,9E+09]];
  PROC main()
    MoveJ pHome, v1000, z50, tool0;
    ! lower approach, taught again
    MoveL [[900,-100,400],[0.7071068,0,0.7071068,0],[0,-1,0,0],[9E+09,9E+09,9E+09,9E+09,9E+09,9E+09]], v200, fine, tool0;
    MoveL [[900,-100,288],[0.7071068,0,0.7071068,0],[0,-1,0,0],[9E+09,9E+09,9E+09,9E+09,9E+09,9E+09]], v200, fine, tool0;
    MoveL pPick, v200, fine, tool0;
  ENDPROC
ENDMODULE
